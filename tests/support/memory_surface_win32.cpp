// Surfaces over a bitmap of their own for the tests on Windows: a DirectDraw
// surface interface that lends a memory device context holding the bitmap
// and refuses everything else.
#include "support/memory_surface.h"

#include <new>

namespace {

class MemorySurface final : public IDirectDrawSurface {
 public:
  explicit MemorySurface(HBITMAP bitmap) : bitmap_(bitmap) {}
  ~MemorySurface() {
    if (lent_) ReleaseDC(lent_);
    DeleteObject(bitmap_);
  }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  HBITMAP bitmap() const { return bitmap_; }

  STDMETHOD(GetDC)(HDC* dc) override {
    if (!dc) return E_POINTER;
    *dc = nullptr;
    if (lent_) return DDERR_DCALREADYCREATED;  // one context at a time
    HDC context = CreateCompatibleDC(nullptr);
    if (!context) return DDERR_GENERIC;
    stock_bitmap_ = SelectObject(context, bitmap_);
    if (!stock_bitmap_) {
      DeleteDC(context);
      return DDERR_GENERIC;
    }
    *dc = lent_ = context;
    return S_OK;
  }
  STDMETHOD(ReleaseDC)(HDC dc) override {
    if (!lent_ || dc != lent_) return DDERR_NODC;
    SelectObject(dc, stock_bitmap_);
    DeleteDC(dc);
    lent_ = nullptr;
    return S_OK;
  }

  // Owned by the test, not reference counted.
  STDMETHOD(QueryInterface)(REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return 1; }
  STDMETHOD_(ULONG, Release)() override { return 1; }

  STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(AddOverlayDirtyRect)(LPRECT) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Blt)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(BltBatch)(LPDDBLTBATCH, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(BltFast)(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(DeleteAttachedSurface)(DWORD, LPDIRECTDRAWSURFACE) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(EnumAttachedSurfaces)(LPVOID, LPDDENUMSURFACESCALLBACK) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(EnumOverlayZOrders)(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(Flip)(LPDIRECTDRAWSURFACE, DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetAttachedSurface)(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(GetBltStatus)(DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetCaps)(LPDDSCAPS) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER*) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetColorKey)(DWORD, LPDDCOLORKEY) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetFlipStatus)(DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE*) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Initialize)(LPDIRECTDRAW, LPDDSURFACEDESC) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(IsLost)() override { return S_OK; }
  STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Restore)() override { return S_OK; }
  STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(SetColorKey)(DWORD, LPDDCOLORKEY) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(SetOverlayPosition)(LONG, LONG) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Unlock)(LPVOID) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(UpdateOverlay)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(UpdateOverlayDisplay)(DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(UpdateOverlayZOrder)(DWORD, LPDIRECTDRAWSURFACE) override {
    return DDERR_UNSUPPORTED;
  }

 private:
  HBITMAP bitmap_;
  HDC lent_ = nullptr;
  HGDIOBJ stock_bitmap_ = nullptr;
};

}  // namespace

IDirectDrawSurface* CreateMemorySurface(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  if (screen) ReleaseDC(nullptr, screen);
  if (!bitmap) return nullptr;
  auto* surface = new (std::nothrow) MemorySurface(bitmap);
  if (!surface) DeleteObject(bitmap);
  return surface;
}

HBITMAP MemorySurfaceBitmap(IDirectDrawSurface* surface) {
  const auto* memory = dynamic_cast<MemorySurface*>(surface);
  return memory ? memory->bitmap() : nullptr;
}

void DeleteMemorySurface(IDirectDrawSurface* surface) {
  delete dynamic_cast<MemorySurface*>(surface);
}
