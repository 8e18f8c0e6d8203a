// Huge pages for the heap during large reads (Linux with glibc; elsewhere nothing happens).
#include "fileio/HeapGrowthHint.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {
constexpr uintptr_t kHugePage = 2u << 20;
constexpr int kDefaultTopPad = 128 * 1024;  // glibc's default
constexpr int kLargeTopPad = 64 << 20;
}  // namespace

HeapGrowthHint::HeapGrowthHint(uint64_t expectedBytes) {
    if (expectedBytes < kMinimumBytes) return;
    active_ = mallopt(M_TOP_PAD, kLargeTopPad) == 1;
    marked_ = reinterpret_cast<uintptr_t>(sbrk(0));
    markGrowth();
}

HeapGrowthHint::~HeapGrowthHint() {
    if (active_) mallopt(M_TOP_PAD, kDefaultTopPad);
}

void HeapGrowthHint::markGrowth() {
    const uintptr_t top = reinterpret_cast<uintptr_t>(sbrk(0));
    // Whole huge pages of the heap from the last mark up to its current end.
    const uintptr_t from = (marked_ + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t to = top & ~(kHugePage - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    if (top > marked_) marked_ = top;
}

#else

HeapGrowthHint::HeapGrowthHint(uint64_t) {}
HeapGrowthHint::~HeapGrowthHint() = default;
void HeapGrowthHint::markGrowth() {}

#endif
