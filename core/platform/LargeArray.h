#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace vorn {

// Memory for the arrays a large key fills (its code planes take 25 MB at 10,000 x 10,000),
// in 2 MB pages where the kernel gives them for the asking. On a virtual machine the
// fault of each 4 KB page costs more than filling it; in 2 MB pages a key's codes are read
// and written several times faster. Small arrays come from malloc as any other.
void* AllocateLargeArray(size_t bytes);
void FreeLargeArray(void* memory) noexcept;

// For a program that reads a whole large key into memory at once (vorn-publish): from now
// on the heap grows `bytes` at a time in 2 MB pages, and holds every block under 4 MB
// instead of mapping it apart (larger ones are LargeArray's); the tens of thousands of
// texts of a large key and its page's 2 MB of JSON then cost few page faults. Call it first thing
// in main, before any thread starts. Does nothing where the C library or the kernel has no such
// means.
void GrowHeapInLargePages(size_t bytes);

// The allocator of a std::vector that may hold such an array.
template <class T>
struct LargeArrayAllocator {
    using value_type = T;
    LargeArrayAllocator() = default;
    template <class U>
    LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept {}
    T* allocate(size_t n) {
        if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateLargeArray(n * sizeof(T)));
    }
    void deallocate(T* memory, size_t) noexcept { FreeLargeArray(memory); }
    // Elements are left as they come, as `new T[n]` leaves them: resize() does not fill
    // what the caller is about to fill itself (assign() and the like still do).
    template <class U>
    void construct(U* element) noexcept {
        ::new (static_cast<void*>(element)) U;
    }
    template <class U, class... Args>
    void construct(U* element, Args&&... args) {
        ::new (static_cast<void*>(element)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const LargeArrayAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace vorn
