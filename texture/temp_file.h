#pragma once
// The seam to the file system for loads that pass through a temporary file.
#include <cstddef>

// Writes "<current directory>/glTEMP$$.tmp" with the given bytes, replacing any
// file of that name, and puts its path in path (capacity 260 with the zero).
// False when the path does not fit or the file cannot be created.
bool WriteTempFile(const unsigned char* bytes, size_t size, char* path, size_t capacity);
void DeleteTempFile(const char* path);
