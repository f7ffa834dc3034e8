#include "tests/hardening/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> calls{0};
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

// Each block carries its size in front, so a delete knows what it frees.
// The header keeps the alignment that new guarantees.
constexpr std::size_t Header = alignof(std::max_align_t);

void* Allocate(std::size_t size) noexcept
{
    void* block = std::malloc(size + Header);
    if (block == nullptr) {
        return nullptr;
    }
    *static_cast<std::size_t*>(block) = size;
    calls.fetch_add(1, std::memory_order_relaxed);
    const std::size_t live = liveBytes.fetch_add(size, std::memory_order_relaxed) + size;
    std::size_t peak = peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
    return static_cast<char*>(block) + Header;
}

void Release(void* pointer) noexcept
{
    if (pointer == nullptr) {
        return;
    }
    void* block = static_cast<char*>(pointer) - Header;
    liveBytes.fetch_sub(*static_cast<std::size_t*>(block), std::memory_order_relaxed);
    std::free(block);
}

void* AllocateOrThrow(std::size_t size)
{
    void* pointer = Allocate(size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return pointer;
}

}  // namespace

namespace allocation_counter {

long Calls() { return calls.load(); }
std::size_t LiveBytes() { return liveBytes.load(); }
std::size_t PeakBytes() { return peakBytes.load(); }
void ResetPeak() { peakBytes.store(liveBytes.load()); }

}  // namespace allocation_counter

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
