// The table behind every GDI handle: ids instead of pointers, so a stale or
// garbage handle is detected, and a live count per kind for leak checks.
// Threads drawing their own pictures share no lock on a lookup: each keeps a
// small cache of the handles it used, stock objects sit in a fixed array, and
// the table itself is split into shards with a lock each, which a thread's
// new objects share with few other threads'.
#pragma once

#include <array>
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
  // Set when its handle is deleted; ids are never reused, so a cached handle
  // whose object is alive and not removed is still valid.
  std::atomic<bool> removed{false};
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
  static constexpr std::uintptr_t stock_base = 0x1000;
  static constexpr std::size_t stock_slots = 128;
  static constexpr std::uintptr_t first_dynamic_id = 0x10000;
  static constexpr std::size_t shard_count = 16;
  // A thread takes ids in blocks of this many, all in one shard, so threads
  // creating objects at once mostly lock different shards.
  static constexpr std::uintptr_t id_block = 64;
  static constexpr std::size_t kinds = static_cast<std::size_t>(ObjectKind::count);

  // Each on its own cache lines; the counts are kept under the lock.
  struct alignas(64) Shard {
    mutable std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<GdiObject>> objects;
    std::array<std::size_t, kinds> live{};
  };

  ObjectTable();
  std::uintptr_t new_id();
  std::shared_ptr<GdiObject> find_stock(std::uintptr_t id) const;
  std::shared_ptr<GdiObject> find_dynamic(std::uintptr_t id) const;
  static std::size_t shard_of(std::uintptr_t id) { return id / id_block % shard_count; }
  Shard& shard(std::uintptr_t id) { return shards_[shard_of(id)]; }
  const Shard& shard(std::uintptr_t id) const { return shards_[shard_of(id)]; }

  std::array<Shard, shard_count> shards_;
  std::mutex stock_mutex_;
  std::array<std::shared_ptr<GdiObject>, stock_slots> stock_owners_;
  std::array<std::atomic<GdiObject*>, stock_slots> stock_ = {};
  std::atomic<std::uintptr_t> next_block_{first_dynamic_id};
};

// The object behind a handle as type T, or null when the handle is unknown or
// of another kind.
template <class T>
std::shared_ptr<T> lookup(const void* handle) {
  std::shared_ptr<GdiObject> object = ObjectTable::instance().find(handle);
  if (!object || object->kind != T::object_kind) return nullptr;
  return std::static_pointer_cast<T>(std::move(object));
}

// Live objects of one kind, or of all kinds: what tests assert on.
std::size_t live_objects(ObjectKind kind);
std::size_t live_objects();

}  // namespace kestra::platform
