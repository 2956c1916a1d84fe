// Every heap allocation of the process is counted, so a benchmark can report
// how many a call makes. Linked into each benchmark program (not the support
// library), so the replacement operator new is always the one in use.

#include <atomic>
#include <cstdlib>
#include <new>

#include "bench_host.h"

namespace {

std::atomic<uint64_t> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

uint64_t Keyweave::Bench::Allocations() { return allocations.load(std::memory_order_relaxed); }
