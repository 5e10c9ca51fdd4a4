// Handle ids for GDI objects, validated on every use and counted per kind.
#include "platform/object_table.h"

namespace kestra::platform {

ObjectTable& ObjectTable::instance() {
  static ObjectTable table;
  return table;
}

void* ObjectTable::add(std::shared_ptr<GdiObject> object) {
  if (!object) return nullptr;
  const auto kind = static_cast<int>(object->kind);
  std::lock_guard lock(mutex_);
  const std::uintptr_t id = next_id_++;
  objects_.emplace(id, std::move(object));
  live_[kind].fetch_add(1, std::memory_order_relaxed);
  return reinterpret_cast<void*>(id);
}

void* ObjectTable::add_stock(int index, std::shared_ptr<GdiObject> object) {
  const std::uintptr_t id = stock_base + static_cast<std::uintptr_t>(index);
  std::lock_guard lock(mutex_);
  objects_.try_emplace(id, std::move(object));
  return reinterpret_cast<void*>(id);
}

std::shared_ptr<GdiObject> ObjectTable::find(const void* handle) const {
  std::lock_guard lock(mutex_);
  const auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == objects_.end() ? nullptr : it->second;
}

bool ObjectTable::is_stock(const void* handle) const {
  const auto id = reinterpret_cast<std::uintptr_t>(handle);
  return id >= stock_base && id < first_dynamic_id;
}

bool ObjectTable::remove(const void* handle) {
  if (is_stock(handle)) return false;
  std::shared_ptr<GdiObject> removed;  // released outside the lock
  {
    std::lock_guard lock(mutex_);
    const auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == objects_.end()) return false;
    removed = std::move(it->second);
    objects_.erase(it);
    epoch_.fetch_add(1, std::memory_order_release);
  }
  live_[static_cast<int>(removed->kind)].fetch_sub(1, std::memory_order_relaxed);
  return true;
}

std::size_t ObjectTable::live(ObjectKind kind) const {
  return live_[static_cast<int>(kind)].load(std::memory_order_relaxed);
}

std::size_t ObjectTable::live_total() const {
  std::size_t total = 0;
  for (const auto& count : live_) total += count.load(std::memory_order_relaxed);
  return total;
}

std::size_t live_objects(ObjectKind kind) { return ObjectTable::instance().live(kind); }
std::size_t live_objects() { return ObjectTable::instance().live_total(); }

}  // namespace kestra::platform
