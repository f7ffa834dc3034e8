#pragma once
// The seam to the pictures built into the program: module resources on
// Windows, embedded arrays on Linux.
#include <cstddef>

// Finds the resource of the given type name and integer id (low 16 bits).
// On success points bytes at its data, which stays valid for the process.
bool FindResourceBytes(int id, const char* type, const unsigned char** bytes, size_t* size);
