// Huge pages for the heap during large reads (Linux with glibc; elsewhere nothing happens). The
// top pad is shared by all hints alive: set by the first, restored by the last.
#include "fileio/HeapGrowthHint.h"

#include <mutex>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define KESTREL_HEAP_HINT 1
#endif

namespace {

std::mutex gMutex;
int gActive = 0;

#if KESTREL_HEAP_HINT
constexpr uintptr_t kHugePage = 2u << 20;
constexpr int kDefaultTopPad = 128 * 1024;  // glibc's default
constexpr int kLargeTopPad = 64 << 20;

// True when the large top pad is (now) in effect.
bool acquire() {
    std::lock_guard<std::mutex> lock(gMutex);
    if (gActive == 0 && mallopt(M_TOP_PAD, kLargeTopPad) != 1) return false;
    ++gActive;
    return true;
}

void release() noexcept {
    std::lock_guard<std::mutex> lock(gMutex);
    if (--gActive == 0) mallopt(M_TOP_PAD, kDefaultTopPad);
}

uintptr_t heapTop() {
    return reinterpret_cast<uintptr_t>(sbrk(0));
}
#endif

}  // namespace

int HeapGrowthHint::activeCount() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gActive;
}

#if KESTREL_HEAP_HINT

HeapGrowthHint::HeapGrowthHint(uint64_t expectedBytes) {
    if (expectedBytes < kMinimumBytes) return;
    active_ = acquire();
    if (!active_) return;
    marked_ = heapTop();
    markGrowth();
}

HeapGrowthHint::~HeapGrowthHint() {
    if (active_) release();
}

// Whole huge pages of the heap from the last mark up to its current end.
void HeapGrowthHint::markGrowth() {
    const uintptr_t top = heapTop();
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
