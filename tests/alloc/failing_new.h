// A global operator new that tests can count and make fail, for the binary that
// links failing_new.cpp (and only that one: it replaces operator new for the whole
// program).
//
// While a CountAllocations lives, every allocation through operator new outside a
// DoNotCount scope is counted, from 1; the one numbered AllocationCount::failAt
// fails as running out of memory does: std::bad_alloc, or nullptr from a nothrow
// new.  Scopes do not nest across threads; the tests are single-threaded.
#pragma once

#include <cstdint>
#include <functional>

namespace vivarix::test {

struct AllocationCount {
    std::int64_t counted = 0;  // allocations counted so far
    std::int64_t failAt = 0;   // the allocation to fail; 0: none
    // Called after each counted allocation (its own allocations are not counted),
    // before it fails.
    std::function<void()> onCount;
};

class CountAllocations {
public:
    explicit CountAllocations(AllocationCount& count);
    ~CountAllocations();
    CountAllocations(const CountAllocations&) = delete;
    CountAllocations& operator=(const CountAllocations&) = delete;

private:
    AllocationCount* previous;
};

class DoNotCount {
public:
    DoNotCount();
    ~DoNotCount();
    DoNotCount(const DoNotCount&) = delete;
    DoNotCount& operator=(const DoNotCount&) = delete;
};

}  // namespace vivarix::test
