// RAII owners for GDI handles: device contexts, created objects and
// temporary selections, so every path out of a drawing call releases them.
#pragma once

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include "kestra_win32.h"
#endif

namespace kestra {

// Owns a memory device context; DeleteDC on destruction.
class UniqueDC {
 public:
  UniqueDC() = default;
  explicit UniqueDC(HDC dc) : dc_(dc) {}
  UniqueDC(UniqueDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  UniqueDC& operator=(UniqueDC&& other) noexcept {
    if (this != &other) reset(std::exchange(other.dc_, nullptr));
    return *this;
  }
  ~UniqueDC() { reset(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset(HDC dc = nullptr) {
    if (dc_) DeleteDC(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_ = nullptr;
};

// Borrows the device context of a window; ReleaseDC on destruction.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Owns a pen, brush, font or bitmap; DeleteObject on destruction. The object
// must no longer be selected into a device context by then.
class UniqueObject {
 public:
  UniqueObject() = default;
  explicit UniqueObject(HGDIOBJ object) : object_(object) {}
  UniqueObject(UniqueObject&& other) noexcept : object_(other.release()) {}
  UniqueObject& operator=(UniqueObject&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueObject() { reset(); }

  HGDIOBJ get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  HGDIOBJ release() { return std::exchange(object_, nullptr); }
  void reset(HGDIOBJ object = nullptr) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }

 private:
  HGDIOBJ object_ = nullptr;
};

// Selects an object into a device context for a scope and puts the previous
// one back at its end. ok() is false when the selection failed.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }

  bool ok() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kestra
