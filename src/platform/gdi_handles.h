// Owners for GDI handles, so every device context, object and selection a
// drawing call makes is given back on every path.
#pragma once

#include <memory>
#include <type_traits>

#ifdef _WIN32
#include <windows.h>
#else
#include "kestra_win32.h"
#endif

namespace kestra::platform {

struct DeleteDCHandle {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteObjectHandle {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// A memory device context made by CreateCompatibleDC.
using UniqueDC = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDCHandle>;

// A pen, brush, font or bitmap made by a Create* call. Declare it before the
// ScopedSelect that selects it, so the selection is undone before deletion.
using UniqueObject = std::unique_ptr<void, DeleteObjectHandle>;

// A device context borrowed from a window with GetDC, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and restores the previous one at
// the end of the scope. A failed selection (null object, wrong kind, a bitmap
// selected elsewhere) leaves the context as it was and restores nothing.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

  bool selected() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kestra::platform
