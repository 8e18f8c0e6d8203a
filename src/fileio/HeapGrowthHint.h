// HeapGrowthHint: while a large file is read into the drawing, the heap grows in large steps
// backed by transparent huge pages where the system offers them (as glibc's hugetlb tunable
// does), so that a million new entities cost a few hundred page faults instead of a hundred
// thousand. Does nothing where this is not available.
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

private:
    void markGrowth();

    bool active_ = false;
    uint32_t calls_ = 0;
    uintptr_t marked_ = 0;  // the heap is marked up to here
};
