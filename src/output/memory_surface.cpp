// A surface over a bitmap of its own, for hosts and tests without DirectDraw.
// Windows hosts have real DirectDraw surfaces.
#ifndef _WIN32
#include <new>

#include "output/output.h"
#include "platform/platform.h"

namespace kestra::output {
namespace {

using platform::UniqueDC;
using platform::UniqueObject;
using platform::WindowDC;

// Lends one device context at a time, holding the surface's bitmap.
class MemorySurface final : public IDirectDrawSurface {
 public:
  explicit MemorySurface(UniqueObject bitmap) : bitmap_(std::move(bitmap)) {}
  ~MemorySurface() { ReleaseDC(lent_.get()); }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  HRESULT GetDC(HDC* dc) override {
    if (!dc) return E_POINTER;
    *dc = nullptr;
    if (lent_) return DDERR_GENERIC;  // one context at a time
    UniqueDC context(CreateCompatibleDC(nullptr));
    if (!context) return DDERR_GENERIC;
    stock_bitmap_ = SelectObject(context.get(), bitmap_.get());
    if (!stock_bitmap_) return DDERR_GENERIC;
    lent_ = std::move(context);
    *dc = lent_.get();
    return S_OK;
  }

  HRESULT ReleaseDC(HDC dc) override {
    if (!lent_ || dc != lent_.get()) return DDERR_GENERIC;
    SelectObject(dc, stock_bitmap_);
    lent_.reset();
    return S_OK;
  }

  HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }

 private:
  UniqueObject bitmap_;  // declared first: outlives the context holding it
  UniqueDC lent_;
  HGDIOBJ stock_bitmap_ = nullptr;
};

MemorySurface* memory_surface(IDirectDrawSurface* surface) {
  return dynamic_cast<MemorySurface*>(surface);
}

}  // namespace
}  // namespace kestra::output

using namespace kestra::output;

IDirectDrawSurface* CreateMemorySurface(int width, int height) {
  const WindowDC screen(GetForegroundWindow());
  UniqueObject bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  if (!bitmap) return nullptr;
  return new (std::nothrow) MemorySurface(std::move(bitmap));
}

HBITMAP MemorySurfaceBitmap(IDirectDrawSurface* surface) {
  const MemorySurface* memory = memory_surface(surface);
  return memory ? memory->bitmap() : nullptr;
}

void DeleteMemorySurface(IDirectDrawSurface* surface) { delete memory_surface(surface); }

#endif  // _WIN32
