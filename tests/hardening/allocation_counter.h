#pragma once
// Counts the C++ heap allocations of the test program: every operator new
// and new[] in the process (ours, the standard library's and any C++ inside
// the GL driver) goes through the replacements in allocation_counter.cpp.
// Plain malloc is not counted: Mesa, FreeType and fontconfig are C and keep
// their own pools, and our code, being C++, allocates only through new.
#include <cstddef>

namespace allocation_counter {

// operator new calls since the program started.
long Calls();
// Bytes allocated through new and not yet deleted, and the most there were
// since the last ResetPeak.
std::size_t LiveBytes();
std::size_t PeakBytes();
void ResetPeak();

}  // namespace allocation_counter
