#include "alloc/failing_new.h"

#include <cstdlib>
#include <new>

namespace vivarix::test {

namespace {
AllocationCount* active = nullptr;
int paused = 0;

// Whether this allocation is the one to fail.
bool countAndFail() {
    if (!active || paused > 0) return false;
    DoNotCount self;
    const bool fail = ++active->counted == active->failAt;
    if (active->onCount) active->onCount();
    return fail;
}

void* allocate(std::size_t size) {
    if (countAndFail()) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

CountAllocations::CountAllocations(AllocationCount& count) : previous(active) { active = &count; }
CountAllocations::~CountAllocations() { active = previous; }
DoNotCount::DoNotCount() { ++paused; }
DoNotCount::~DoNotCount() { --paused; }

}  // namespace vivarix::test

void* operator new(std::size_t size) {
    if (void* p = vivarix::test::allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return vivarix::test::allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return vivarix::test::allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
