// Stream factories: the handlers that OpenStream asks, in turn, to open a "<protocol>::<location>" URL.
#pragma once

#include "resources/Stream.h"

class TStreamFactory {
public:
    virtual ~TStreamFactory() = default;
    // `protocol` is lower-cased; null when this factory does not serve it or cannot open the location.
    virtual std::unique_ptr<TStream> CreateStream(
        const QString& protocol, const QString& location, bool readable, bool writeable)
        = 0;
};

// Adds a factory behind those already registered (the embedded files and the four text encodings come first).
void RegisterStreamFactory(std::unique_ptr<TStreamFactory> factory);
