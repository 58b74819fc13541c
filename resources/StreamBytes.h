// Whole-stream reading for the layers that see no Qt (the drawing layer's image and font loaders).
#pragma once

#include <string>
#include <vector>

// Opens `url` (UTF-8; a path, "incbin::name" or any other form the stream layer serves) for reading and
// reads it to its end. False, with `bytes` cleared, when it cannot be opened or read.
bool ReadStreamBytes(const std::string& url, std::vector<unsigned char>& bytes);
