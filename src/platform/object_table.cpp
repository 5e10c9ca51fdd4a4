// Handle ids for GDI objects, validated on every use and counted per kind.
#include "platform/object_table.h"

#include <new>

namespace kestra::platform {
namespace {

// The handles a thread used last, by id. Entries do not own their objects,
// so a deleted picture's pixels go at once; only the small shared count of a
// handle deleted on another thread stays until its entry is reused.
struct LookupCache {
  static constexpr std::size_t size = 16;
  struct Entry {
    std::uintptr_t id = 0;
    std::weak_ptr<GdiObject> object;
  };
  std::array<Entry, size> entries;

  Entry& slot(std::uintptr_t id) { return entries[id % size]; }
};

thread_local LookupCache lookup_cache;

// The ids a thread hands out next: [next, end) of its current block.
struct IdBlock {
  std::uintptr_t next = 0, end = 0;
};

thread_local IdBlock id_block_of_thread;

}  // namespace

// Every shard's buckets exist from the start, so what a call allocates does
// not depend on which shards its objects land in. Without the memory, a
// shard gets them with its first object instead.
ObjectTable::ObjectTable() {
  try {
    for (Shard& each : shards_) each.objects.reserve(id_block);
  } catch (const std::bad_alloc&) {
  }
}

ObjectTable& ObjectTable::instance() {
  static ObjectTable table;
  return table;
}

std::uintptr_t ObjectTable::new_id() {
  IdBlock& ids = id_block_of_thread;
  if (ids.next == ids.end) {
    ids.next = next_block_.fetch_add(id_block, std::memory_order_relaxed);
    ids.end = ids.next + id_block;
  }
  return ids.next++;
}

// The new handle goes into this thread's cache, as it is usually selected or
// drawn with next.
void* ObjectTable::add(std::shared_ptr<GdiObject> object) {
  if (!object) return nullptr;
  const auto kind = static_cast<std::size_t>(object->kind);
  const std::uintptr_t id = new_id();
  std::weak_ptr<GdiObject> cached = object;
  {
    Shard& owner = shard(id);
    std::lock_guard lock(owner.mutex);
    owner.objects.emplace(id, std::move(object));
    ++owner.live[kind];
  }
  // Only once registered: an entry would keep a failed object's memory.
  lookup_cache.slot(id) = {id, std::move(cached)};
  return reinterpret_cast<void*>(id);
}

void* ObjectTable::add_stock(int index, std::shared_ptr<GdiObject> object) {
  const auto slot = static_cast<std::size_t>(index);
  if (slot >= stock_slots) return nullptr;
  std::lock_guard lock(stock_mutex_);
  if (!stock_owners_[slot]) {
    stock_owners_[slot] = std::move(object);
    stock_[slot].store(stock_owners_[slot].get(), std::memory_order_release);
  }
  return reinterpret_cast<void*>(stock_base + slot);
}

std::shared_ptr<GdiObject> ObjectTable::find(const void* handle) const {
  const auto id = reinterpret_cast<std::uintptr_t>(handle);
  if (is_stock(handle)) return find_stock(id);
  if (id < first_dynamic_id) return nullptr;
  LookupCache::Entry& cached = lookup_cache.slot(id);
  if (cached.id == id) {
    std::shared_ptr<GdiObject> object = cached.object.lock();
    if (object && !object->removed.load(std::memory_order_acquire)) return object;
  }
  std::shared_ptr<GdiObject> object = find_dynamic(id);
  if (object || cached.id == id) cached = {object ? id : 0, object};
  return object;
}

// Stock objects live as long as the process: the pointer handed out shares
// no count, so threads drawing with them touch no common counter.
std::shared_ptr<GdiObject> ObjectTable::find_stock(std::uintptr_t id) const {
  const std::size_t slot = id - stock_base;
  if (slot >= stock_slots) return nullptr;
  GdiObject* object = stock_[slot].load(std::memory_order_acquire);
  if (!object) return nullptr;
  return std::shared_ptr<GdiObject>(std::shared_ptr<GdiObject>(), object);
}

std::shared_ptr<GdiObject> ObjectTable::find_dynamic(std::uintptr_t id) const {
  const Shard& owner = shard(id);
  std::lock_guard lock(owner.mutex);
  const auto it = owner.objects.find(id);
  return it == owner.objects.end() ? nullptr : it->second;
}

bool ObjectTable::is_stock(const void* handle) const {
  const auto id = reinterpret_cast<std::uintptr_t>(handle);
  return id >= stock_base && id < first_dynamic_id;
}

bool ObjectTable::remove(const void* handle) {
  if (is_stock(handle)) return false;
  const auto id = reinterpret_cast<std::uintptr_t>(handle);
  std::shared_ptr<GdiObject> removed;  // released outside the lock
  {
    Shard& owner = shard(id);
    std::lock_guard lock(owner.mutex);
    const auto it = owner.objects.find(id);
    if (it == owner.objects.end()) return false;
    removed = std::move(it->second);
    owner.objects.erase(it);
    --owner.live[static_cast<std::size_t>(removed->kind)];
  }
  removed->removed.store(true, std::memory_order_release);
  // This thread's entry goes now; other threads' entries go when reused.
  if (LookupCache::Entry& cached = lookup_cache.slot(id); cached.id == id) cached = {};
  return true;
}

std::size_t ObjectTable::live(ObjectKind kind) const {
  std::size_t total = 0;
  for (const Shard& each : shards_) {
    std::lock_guard lock(each.mutex);
    total += each.live[static_cast<std::size_t>(kind)];
  }
  return total;
}

std::size_t ObjectTable::live_total() const {
  std::size_t total = 0;
  for (const Shard& each : shards_) {
    std::lock_guard lock(each.mutex);
    for (const std::size_t count : each.live) total += count;
  }
  return total;
}

std::size_t live_objects(ObjectKind kind) { return ObjectTable::instance().live(kind); }
std::size_t live_objects() { return ObjectTable::instance().live_total(); }

}  // namespace kestra::platform
