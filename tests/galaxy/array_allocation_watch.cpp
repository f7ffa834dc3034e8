// Replaces the program's array forms of new and delete. All of them use
// malloc and free, so the sanitizers still see every block and a mismatch.
#include "array_allocation_watch.h"

#include <cstdlib>
#include <new>

namespace {

long LiveBlocks = 0;
long PeakBlocks = 0;
int NothrowUntilFailure = 0;  // 0: no failure planned

void* Take(std::size_t size)
{
    void* block = std::malloc(size != 0 ? size : 1);
    if (block != nullptr) {
        ++LiveBlocks;
        if (LiveBlocks > PeakBlocks) PeakBlocks = LiveBlocks;
    }
    return block;
}

void Give(void* block)
{
    if (block == nullptr) return;
    --LiveBlocks;
    std::free(block);
}

}  // namespace

namespace array_allocation_watch {

long Live() { return LiveBlocks; }
long Peak() { return PeakBlocks; }
void ResetPeak() { PeakBlocks = LiveBlocks; }
void FailNthNothrow(int n) { NothrowUntilFailure = n; }

}  // namespace array_allocation_watch

void* operator new[](std::size_t size)
{
    void* block = Take(size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (NothrowUntilFailure > 0 && --NothrowUntilFailure == 0) return nullptr;
    return Take(size);
}

void operator delete[](void* block) noexcept { Give(block); }
void operator delete[](void* block, std::size_t) noexcept { Give(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Give(block); }
