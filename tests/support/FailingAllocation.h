#pragma once

#include <cstddef>

// While an object lives, every allocation of at least `bytes` through
// operator new fails with std::bad_alloc, as when memory runs out. Link
// FailingAllocation.cpp into the test program: it replaces operator new.
class FailLargeAllocations {
  public:
    explicit FailLargeAllocations(std::size_t bytes);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};
