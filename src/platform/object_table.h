// The table behind every GDI handle: ids instead of pointers, so a stale or
// garbage handle is detected, and a live count per kind for leak checks.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace kestra::platform {

enum class ObjectKind : std::uint8_t { dc, bitmap, pen, brush, font, metafile, count };

struct GdiObject {
  explicit GdiObject(ObjectKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  const ObjectKind kind;
};

class ObjectTable {
 public:
  static ObjectTable& instance();

  // Registers an object and returns its handle.
  void* add(std::shared_ptr<GdiObject> object);
  // Registers a stock object under a fixed handle; stock objects are never
  // deleted and not counted as live.
  void* add_stock(int index, std::shared_ptr<GdiObject> object);
  // The object behind a handle, or null when the handle is unknown.
  std::shared_ptr<GdiObject> find(const void* handle) const;
  // Removes a handle; false when it is unknown or a stock object.
  bool remove(const void* handle);
  bool is_stock(const void* handle) const;

  std::size_t live(ObjectKind kind) const;
  std::size_t live_total() const;

 private:
  ObjectTable() = default;
  mutable std::mutex mutex_;
  std::unordered_map<std::uintptr_t, std::shared_ptr<GdiObject>> objects_;
  std::uintptr_t next_id_ = first_dynamic_id;
  std::atomic<std::size_t> live_[static_cast<int>(ObjectKind::count)] = {};
  std::atomic<std::uint64_t> epoch_{0};

  static constexpr std::uintptr_t stock_base = 0x1000;
  static constexpr std::uintptr_t first_dynamic_id = 0x10000;

  template <class T>
  friend std::shared_ptr<T> lookup(const void* handle);
};

// The object behind a handle as type T, or null when the handle is unknown or
// of another kind. A one-entry cache per thread keeps tight loops (SetPixel
// per plotted sample) off the table's lock; any deletion invalidates it. The
// cache does not own the object, so a deleted picture's memory goes at once.
template <class T>
std::shared_ptr<T> lookup(const void* handle) {
  struct Cache {
    const void* handle = nullptr;
    std::uint64_t epoch = ~std::uint64_t{0};
    std::weak_ptr<GdiObject> object;
  };
  thread_local Cache cache;
  ObjectTable& table = ObjectTable::instance();
  const std::uint64_t epoch = table.epoch_.load(std::memory_order_acquire);
  std::shared_ptr<GdiObject> object;
  if (cache.handle == handle && cache.epoch == epoch) object = cache.object.lock();
  if (!object) {
    object = table.find(handle);
    cache = {handle, epoch, object};
  }
  if (!object || object->kind != T::object_kind) return nullptr;
  return std::static_pointer_cast<T>(std::move(object));
}

// Live objects of one kind, or of all kinds: what tests assert on.
std::size_t live_objects(ObjectKind kind);
std::size_t live_objects();

}  // namespace kestra::platform
