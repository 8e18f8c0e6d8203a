// HeapGrowthHint: while a large file is read into the drawing, the heap grows in large steps
// backed by transparent huge pages where the system offers them (as glibc's hugetlb tunable
// does), so that a million new entities cost a few hundred page faults instead of a hundred
// thousand (a first read of a 250 MB drawing takes half the time).
//
// What it changes for the whole process, and for how long: glibc's top pad (how far the heap
// grows past each request) is 64 MB from the first hint to the end of the last one alive, then
// glibc's default again; the destructor restores it on every path out of a read, exceptions
// included. The heap pages grown meanwhile stay marked for huge pages (a hint to the kernel with
// no effect on their contents). Setting the top pad also ends, for the rest of the process,
// glibc's own raising of the size from which blocks get a mapping of their own: that size stays
// where it is (128 kB unless glibc had raised it), which costs time, never correctness. Does
// nothing where glibc's malloc is not in use (a sanitizer's allocator refuses the setting).
#pragma once

#include <cstdint>

class HeapGrowthHint {
public:
    // Only reads of at least this many bytes ask for it.
    static constexpr uint64_t kMinimumBytes = 16u << 20;

    explicit HeapGrowthHint(uint64_t expectedBytes);
    ~HeapGrowthHint();
    HeapGrowthHint(const HeapGrowthHint&) = delete;
    HeapGrowthHint& operator=(const HeapGrowthHint&) = delete;

    // Called now and then during the read: marks what the heap has grown by since.
    void poll() {
        if (active_ && ++calls_ % 1024 == 0) markGrowth();
    }

    // Hints alive in the process (for tests).
    static int activeCount();

private:
    void markGrowth();

    bool active_ = false;
    uint32_t calls_ = 0;
    uintptr_t marked_ = 0;  // the heap is marked up to here
};
