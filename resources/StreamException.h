// Errors of the stream layer: a read that runs out of data or a write the device does not take.
#pragma once

#include <stdexcept>

class TStreamException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStreamReadException : public TStreamException {
public:
    TStreamReadException()
        : TStreamException("Error reading from stream")
    {
    }
};

class TStreamWriteException : public TStreamException {
public:
    TStreamWriteException()
        : TStreamException("Error writing to stream")
    {
    }
};
