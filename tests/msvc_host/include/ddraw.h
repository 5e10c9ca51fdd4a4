// IDirectDrawSurface as the SDK declares it: the COM interface's methods in
// their vtable order, __stdcall, on a vtable-less base (the host implements
// it). Parameters the host never reads are typed loosely.
#pragma once

#include <windows.h>

#define DDERR_UNSUPPORTED E_NOTIMPL

struct __declspec(novtable) IDirectDrawSurface {
  virtual HRESULT WINAPI QueryInterface(const void* iid, void** object) = 0;
  virtual ULONG WINAPI AddRef() = 0;
  virtual ULONG WINAPI Release() = 0;
  virtual HRESULT WINAPI AddAttachedSurface(IDirectDrawSurface* surface) = 0;
  virtual HRESULT WINAPI AddOverlayDirtyRect(RECT* rect) = 0;
  virtual HRESULT WINAPI Blt(RECT* to, IDirectDrawSurface* from, RECT* from_rect, DWORD flags,
                             void* fx) = 0;
  virtual HRESULT WINAPI BltBatch(void* batch, DWORD count, DWORD flags) = 0;
  virtual HRESULT WINAPI BltFast(DWORD x, DWORD y, IDirectDrawSurface* from, RECT* from_rect,
                                 DWORD flags) = 0;
  virtual HRESULT WINAPI DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* surface) = 0;
  virtual HRESULT WINAPI EnumAttachedSurfaces(void* context, void* callback) = 0;
  virtual HRESULT WINAPI EnumOverlayZOrders(DWORD flags, void* context, void* callback) = 0;
  virtual HRESULT WINAPI Flip(IDirectDrawSurface* target, DWORD flags) = 0;
  virtual HRESULT WINAPI GetAttachedSurface(void* caps, IDirectDrawSurface** surface) = 0;
  virtual HRESULT WINAPI GetBltStatus(DWORD flags) = 0;
  virtual HRESULT WINAPI GetCaps(void* caps) = 0;
  virtual HRESULT WINAPI GetClipper(void** clipper) = 0;
  virtual HRESULT WINAPI GetColorKey(DWORD flags, void* key) = 0;
  virtual HRESULT WINAPI GetDC(HDC* dc) = 0;
  virtual HRESULT WINAPI GetFlipStatus(DWORD flags) = 0;
  virtual HRESULT WINAPI GetOverlayPosition(LONG* x, LONG* y) = 0;
  virtual HRESULT WINAPI GetPalette(void** palette) = 0;
  virtual HRESULT WINAPI GetPixelFormat(void* format) = 0;
  virtual HRESULT WINAPI GetSurfaceDesc(void* desc) = 0;
  virtual HRESULT WINAPI Initialize(void* draw, void* desc) = 0;
  virtual HRESULT WINAPI IsLost() = 0;
  virtual HRESULT WINAPI Lock(RECT* rect, void* desc, DWORD flags, HANDLE event) = 0;
  virtual HRESULT WINAPI ReleaseDC(HDC dc) = 0;
  virtual HRESULT WINAPI Restore() = 0;
  virtual HRESULT WINAPI SetClipper(void* clipper) = 0;
  virtual HRESULT WINAPI SetColorKey(DWORD flags, void* key) = 0;
  virtual HRESULT WINAPI SetOverlayPosition(LONG x, LONG y) = 0;
  virtual HRESULT WINAPI SetPalette(void* palette) = 0;
  virtual HRESULT WINAPI Unlock(void* bits) = 0;
  virtual HRESULT WINAPI UpdateOverlay(RECT* from_rect, IDirectDrawSurface* target,
                                       RECT* to_rect, DWORD flags, void* fx) = 0;
  virtual HRESULT WINAPI UpdateOverlayDisplay(DWORD flags) = 0;
  virtual HRESULT WINAPI UpdateOverlayZOrder(DWORD flags, IDirectDrawSurface* reference) = 0;
};
