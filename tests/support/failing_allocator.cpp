// Replaces every form of global operator new and delete with malloc and
// free plus the counters of failing_allocator.h.
#include "support/failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace kestra::test {
namespace {

std::atomic<std::int64_t> countdown{0};  // <= 0: disarmed
std::atomic<bool> failed{false};
std::atomic<std::int64_t> held{0};

// The armed count reaches zero on exactly one allocation.
bool this_allocation_fails() {
  if (countdown.load(std::memory_order_relaxed) <= 0) return false;
  if (countdown.fetch_sub(1, std::memory_order_acq_rel) != 1) return false;
  failed.store(true, std::memory_order_release);
  return true;
}

void* allocate(std::size_t size, std::size_t alignment) {
  if (this_allocation_fails()) return nullptr;
  if (size == 0) size = 1;
  void* memory = alignment > alignof(std::max_align_t)
                     ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                     : std::malloc(size);
  if (memory) held.fetch_add(1, std::memory_order_relaxed);
  return memory;
}

void* allocate_or_throw(std::size_t size, std::size_t alignment) {
  void* memory = allocate(size, alignment);
  if (!memory) throw std::bad_alloc();
  return memory;
}

void release(void* memory) {
  if (!memory) return;
  held.fetch_sub(1, std::memory_order_relaxed);
  std::free(memory);
}

}  // namespace

void fail_allocation(std::size_t nth) {
  failed.store(false, std::memory_order_release);
  countdown.store(static_cast<std::int64_t>(nth), std::memory_order_release);
}

bool allocation_failed() { return failed.load(std::memory_order_acquire); }

std::int64_t held_allocations() { return held.load(std::memory_order_relaxed); }

}  // namespace kestra::test

using kestra::test::allocate;
using kestra::test::allocate_or_throw;
using kestra::test::release;

constexpr std::size_t plain = alignof(std::max_align_t);

void* operator new(std::size_t size) { return allocate_or_throw(size, plain); }
void* operator new[](std::size_t size) { return allocate_or_throw(size, plain); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, plain); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size, plain);
}
void* operator new(std::size_t size, std::align_val_t a) {
  return allocate_or_throw(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
  return allocate_or_throw(size, static_cast<std::size_t>(a));
}
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return allocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return allocate(size, static_cast<std::size_t>(a));
}

void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
