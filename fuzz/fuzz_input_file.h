// The readers under test open files by name, so each fuzz input is written to
// a file of its own first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to a file private to this process and target (tag), the
// same file for every input; returns its path, or an empty string when the
// file cannot be written (the input is then skipped).
std::string WriteFuzzInput(const char* tag, const uint8_t* data, size_t size);
