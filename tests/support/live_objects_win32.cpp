// Live GDI objects counted for the leak checks on Windows, where the system
// gives no count of its own (Wine's GetGuiResources is not implemented): the
// program's import table is patched at start so that every GDI object the
// library or a test creates or deletes passes through a counter.
#include <windows.h>

#include <cstring>
#include <mutex>
#include <unordered_set>

#include "support/live_objects.h"

namespace kestra::test {
namespace {

class LiveHandles {
 public:
  void add(void* handle) {
    const std::lock_guard lock(mutex_);
    handles_.insert(handle);
  }
  void remove(void* handle) {
    const std::lock_guard lock(mutex_);
    handles_.erase(handle);
  }
  std::size_t count() {
    const std::lock_guard lock(mutex_);
    return handles_.size();
  }

 private:
  std::mutex mutex_;
  std::unordered_set<void*> handles_;
};

LiveHandles& live() {
  static LiveHandles handles;
  return handles;
}

// One hook per imported function: `Id` keeps functions of the same type apart.
template <int Id, class Function>
struct Hook;

template <int Id, class Result, class... Args>
struct Hook<Id, Result(WINAPI*)(Args...)> {
  using Function = Result(WINAPI*)(Args...);
  static inline Function real = nullptr;

  static Result WINAPI creating(Args... args) {
    const Result handle = real(args...);
    if (handle) live().add(reinterpret_cast<void*>(handle));
    return handle;
  }
  static Result WINAPI deleting(Args... args) {
    const void* handle = reinterpret_cast<void*>(std::get<0>(std::tuple<Args...>(args...)));
    const Result deleted = real(args...);
    if (deleted) live().remove(const_cast<void*>(handle));
    return deleted;
  }
};

// Points the import of `name` at `replacement`; keeps the original in `real`.
template <class Function>
void patch(const char* name, Function replacement, Function* real) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; module->Name; ++module) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), name) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      *real = reinterpret_cast<Function>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
    }
  }
}

template <int Id, class Function>
void count_created(const char* name, Function) {
  using H = Hook<Id, Function>;
  patch<Function>(name, &H::creating, &H::real);
}

template <int Id, class Function>
void count_deleted(const char* name, Function) {
  using H = Hook<Id, Function>;
  patch<Function>(name, &H::deleting, &H::real);
}

const bool installed = [] {
  count_created<0>("CreateCompatibleDC", &CreateCompatibleDC);
  count_created<1>("CreateCompatibleBitmap", &CreateCompatibleBitmap);
  count_created<2>("CreateDIBitmap", &CreateDIBitmap);
  count_created<3>("CreateDIBSection", &CreateDIBSection);
  count_created<4>("CreateBitmap", &CreateBitmap);
  count_created<5>("CreatePen", &CreatePen);
  count_created<6>("ExtCreatePen", &ExtCreatePen);
  count_created<7>("CreateSolidBrush", &CreateSolidBrush);
  count_created<8>("CreateHatchBrush", &CreateHatchBrush);
  count_created<9>("CreateFontA", &CreateFontA);
  count_created<10>("CreateFontIndirectA", &CreateFontIndirectA);
  count_created<11>("LoadImageA", &LoadImageA);
  count_created<12>("CreateRectRgn", &CreateRectRgn);
  count_deleted<13>("DeleteObject", &DeleteObject);
  count_deleted<14>("DeleteDC", &DeleteDC);
  return true;
}();

}  // namespace

std::size_t live_gdi_objects() { return installed ? live().count() : 0; }

}  // namespace kestra::test
