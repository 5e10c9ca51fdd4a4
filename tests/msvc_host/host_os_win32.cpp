// The host's system on Windows, built with the MSVC ABI and no C runtime:
// kernel32 for files and output, a COM surface of its own over a DIB
// section, and what the compiler expects from a runtime (the entry point,
// memcpy, _fltused).
#include <ddraw.h>

#include "host_os.h"

extern "C" {
int _fltused = 0;  // referenced by every object that uses floating point

// Struct copies compile to calls of memcpy; -ffreestanding keeps this loop a
// loop.
void* memcpy(void* to, const void* from, decltype(sizeof 0) size) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  while (size--) *out++ = *in++;
  return to;
}

void host_entry() { ExitProcess(static_cast<UINT>(host_main())); }
}

namespace host_os {
namespace {

unsigned length(const char* text) {
  unsigned size = 0;
  while (text[size]) ++size;
  return size;
}

// Lends a memory device context holding its DIB section, one at a time;
// every other method is refused.
class Surface final : public IDirectDrawSurface {
 public:
  bool open(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    return bitmap_ != nullptr;
  }
  void close() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
  }
  HBITMAP bitmap() const { return bitmap_; }

  HRESULT WINAPI GetDC(HDC* dc) override {
    if (!dc) return E_POINTER;
    *dc = nullptr;
    if (lent_) return E_FAIL;
    HDC context = CreateCompatibleDC(nullptr);
    if (!context) return E_FAIL;
    stock_ = SelectObject(context, bitmap_);
    if (!stock_) {
      DeleteDC(context);
      return E_FAIL;
    }
    *dc = lent_ = context;
    return S_OK;
  }
  HRESULT WINAPI ReleaseDC(HDC dc) override {
    if (!lent_ || dc != lent_) return E_FAIL;
    SelectObject(dc, stock_);
    DeleteDC(dc);
    lent_ = nullptr;
    return S_OK;
  }

  HRESULT WINAPI QueryInterface(const void*, void** object) override {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }
  ULONG WINAPI AddRef() override { return 1; }
  ULONG WINAPI Release() override { return 1; }
  HRESULT WINAPI AddAttachedSurface(IDirectDrawSurface*) override { return E_NOTIMPL; }
  HRESULT WINAPI AddOverlayDirtyRect(RECT*) override { return E_NOTIMPL; }
  HRESULT WINAPI Blt(RECT*, IDirectDrawSurface*, RECT*, DWORD, void*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI BltBatch(void*, DWORD, DWORD) override { return E_NOTIMPL; }
  HRESULT WINAPI BltFast(DWORD, DWORD, IDirectDrawSurface*, RECT*, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DeleteAttachedSurface(DWORD, IDirectDrawSurface*) override { return E_NOTIMPL; }
  HRESULT WINAPI EnumAttachedSurfaces(void*, void*) override { return E_NOTIMPL; }
  HRESULT WINAPI EnumOverlayZOrders(DWORD, void*, void*) override { return E_NOTIMPL; }
  HRESULT WINAPI Flip(IDirectDrawSurface*, DWORD) override { return E_NOTIMPL; }
  HRESULT WINAPI GetAttachedSurface(void*, IDirectDrawSurface**) override { return E_NOTIMPL; }
  HRESULT WINAPI GetBltStatus(DWORD) override { return E_NOTIMPL; }
  HRESULT WINAPI GetCaps(void*) override { return E_NOTIMPL; }
  HRESULT WINAPI GetClipper(void**) override { return E_NOTIMPL; }
  HRESULT WINAPI GetColorKey(DWORD, void*) override { return E_NOTIMPL; }
  HRESULT WINAPI GetFlipStatus(DWORD) override { return E_NOTIMPL; }
  HRESULT WINAPI GetOverlayPosition(LONG*, LONG*) override { return E_NOTIMPL; }
  HRESULT WINAPI GetPalette(void**) override { return E_NOTIMPL; }
  HRESULT WINAPI GetPixelFormat(void*) override { return E_NOTIMPL; }
  HRESULT WINAPI GetSurfaceDesc(void*) override { return E_NOTIMPL; }
  HRESULT WINAPI Initialize(void*, void*) override { return E_NOTIMPL; }
  HRESULT WINAPI IsLost() override { return S_OK; }
  HRESULT WINAPI Lock(RECT*, void*, DWORD, HANDLE) override { return E_NOTIMPL; }
  HRESULT WINAPI Restore() override { return E_NOTIMPL; }
  HRESULT WINAPI SetClipper(void*) override { return E_NOTIMPL; }
  HRESULT WINAPI SetColorKey(DWORD, void*) override { return E_NOTIMPL; }
  HRESULT WINAPI SetOverlayPosition(LONG, LONG) override { return E_NOTIMPL; }
  HRESULT WINAPI SetPalette(void*) override { return E_NOTIMPL; }
  HRESULT WINAPI Unlock(void*) override { return E_NOTIMPL; }
  HRESULT WINAPI UpdateOverlay(RECT*, IDirectDrawSurface*, RECT*, DWORD, void*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI UpdateOverlayDisplay(DWORD) override { return E_NOTIMPL; }
  HRESULT WINAPI UpdateOverlayZOrder(DWORD, IDirectDrawSurface*) override { return E_NOTIMPL; }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC lent_ = nullptr;
  HGDIOBJ stock_ = nullptr;
};

constinit Surface the_surface;  // no constructor would run: there is no runtime

}  // namespace

bool write_file(const char* name, const void* bytes, unsigned size) {
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes, size, &written, nullptr);
  return CloseHandle(file) && ok && written == size;
}

void print(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, length(text), &written, nullptr);
}

IDirectDrawSurface* make_surface(int width, int height) {
  return the_surface.open(width, height) ? &the_surface : nullptr;
}

HBITMAP surface_bitmap(IDirectDrawSurface* surface) {
  return surface == &the_surface ? the_surface.bitmap() : nullptr;
}

void free_surface(IDirectDrawSurface* surface) {
  if (surface == &the_surface) the_surface.close();
}

}  // namespace host_os
