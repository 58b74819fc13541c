// The runtime error that stops the program when a layer reaches a state it cannot go on from.
#pragma once

#include <stdexcept>
#include <string>

class TRuntimeError : public std::runtime_error {
public:
    explicit TRuntimeError(const std::string& message)
        : std::runtime_error(message)
    {
    }
};
