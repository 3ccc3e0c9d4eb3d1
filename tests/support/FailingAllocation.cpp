#include "tests/support/FailingAllocation.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> failFrom{SIZE_MAX};
}

FailLargeAllocations::FailLargeAllocations(std::size_t bytes) {
    failFrom = bytes;
}

FailLargeAllocations::~FailLargeAllocations() {
    failFrom = SIZE_MAX;
}

void* operator new(std::size_t size) {
    if (size >= failFrom)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
