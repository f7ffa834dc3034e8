#pragma once
// Counts the array allocations of the test program and can make a chosen
// non-throwing one fail, to check that the galaxy set owns its memory
// properly and survives running out of it.

namespace array_allocation_watch {

// Array blocks currently allocated, and the most there were since ResetPeak.
long Live();
long Peak();
void ResetPeak();
// The nth coming non-throwing array allocation (1 = the next) returns nullptr.
void FailNthNothrow(int n);

}  // namespace array_allocation_watch
