// The Win32 subset kestra draws with, provided by the library itself where
// <windows.h> does not exist. Names, types, constants and semantics follow
// GDI, USER and DirectDraw, so drawing code and host code compile unchanged
// against either. Handles are validated ids: a stale or garbage handle makes
// a call fail, never crash.
#ifndef KESTRA_WIN32_H
#define KESTRA_WIN32_H

#include <cstddef>
#include <cstdint>

// Marks what the shared library exports; everything else stays inside it.
#ifndef KESTRA_API
#define KESTRA_API __attribute__((visibility("default")))
#endif

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using COLORREF = DWORD;
using HRESULT = std::int32_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using LPCVOID = const void*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Handles are opaque pointers holding an id of the object table.
#define KESTRA_DECLARE_HANDLE(name) struct name##__; using name = name##__*
KESTRA_DECLARE_HANDLE(HDC);
KESTRA_DECLARE_HANDLE(HBITMAP);
KESTRA_DECLARE_HANDLE(HPEN);
KESTRA_DECLARE_HANDLE(HBRUSH);
KESTRA_DECLARE_HANDLE(HFONT);
KESTRA_DECLARE_HANDLE(HWND);
KESTRA_DECLARE_HANDLE(HINSTANCE);
KESTRA_DECLARE_HANDLE(HENHMETAFILE);
#undef KESTRA_DECLARE_HANDLE
using HGDIOBJ = void*;
using HANDLE = void*;

struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using RECT = tagRECT;
using LPRECT = RECT*;

struct tagPOINT {
  LONG x;
  LONG y;
};
using POINT = tagPOINT;
using LPPOINT = POINT*;

struct tagSIZE {
  LONG cx;
  LONG cy;
};
using SIZE = tagSIZE;
using LPSIZE = SIZE*;

#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)((c) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))
#define CLR_INVALID 0xFFFFFFFF

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};

#define BI_RGB 0
#define DIB_RGB_COLORS 0
#define CBM_INIT 0x04

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5

#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13

#define TRANSPARENT 1
#define OPAQUE 2

#define FW_NORMAL 400
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define RUSSIAN_CHARSET 204
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define VARIABLE_PITCH 2

#define DT_TOP 0x0000
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_VCENTER 0x0004
#define DT_BOTTOM 0x0008
#define DT_SINGLELINE 0x0020
#define DT_NOCLIP 0x0100
#define DT_NOPREFIX 0x0800

#define SRCCOPY 0x00CC0020

#define IMAGE_BITMAP 0
#define LR_LOADFROMFILE 0x0010
#define LR_CREATEDIBSECTION 0x2000

// Device contexts.
KESTRA_API HDC CreateCompatibleDC(HDC reference);
KESTRA_API BOOL DeleteDC(HDC dc);
KESTRA_API HWND GetForegroundWindow();
KESTRA_API HDC GetDC(HWND window);
KESTRA_API int ReleaseDC(HWND window, HDC dc);

// Recording device contexts (enhanced metafiles in memory; `file` must be
// null): the drawing calls made on one are kept with the pens, brushes,
// fonts, clips and text layout they resolve to, instead of painting pixels.
// CloseEnhMetaFile ends the recording and deletes its device context;
// DeleteEnhMetaFile releases the metafile.
KESTRA_API HDC CreateEnhMetaFileA(HDC reference, LPCSTR file, const RECT* bounds,
                                  LPCSTR description);
KESTRA_API HENHMETAFILE CloseEnhMetaFile(HDC dc);
KESTRA_API BOOL DeleteEnhMetaFile(HENHMETAFILE metafile);

// Objects.
KESTRA_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
KESTRA_API BOOL DeleteObject(HGDIOBJ object);
KESTRA_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
KESTRA_API HGDIOBJ GetStockObject(int index);
KESTRA_API int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA

// Bitmaps.
KESTRA_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
KESTRA_API HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init,
                                  const void* bits, const BITMAPINFO* info, UINT usage);
KESTRA_API int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                         BITMAPINFO* info, UINT usage);
KESTRA_API HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy,
                             UINT load);
KESTRA_API BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                           int swidth, int sheight, DWORD rop);
KESTRA_API BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                       DWORD rop);

// Pens, brushes and drawing.
KESTRA_API HPEN CreatePen(int style, int width, COLORREF color);
KESTRA_API HBRUSH CreateSolidBrush(COLORREF color);
KESTRA_API HBRUSH CreateHatchBrush(int hatch, COLORREF color);
KESTRA_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
KESTRA_API BOOL LineTo(HDC dc, int x, int y);
KESTRA_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
KESTRA_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
KESTRA_API COLORREF GetPixel(HDC dc, int x, int y);
KESTRA_API int SetBkMode(HDC dc, int mode);
KESTRA_API int GetBkMode(HDC dc);
KESTRA_API COLORREF SetBkColor(HDC dc, COLORREF color);
KESTRA_API COLORREF SetTextColor(HDC dc, COLORREF color);

// Text.
KESTRA_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                             DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                             DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                             DWORD pitchAndFamily, LPCSTR face);
KESTRA_API int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);

// The calling thread's last error: the layer's functions set
// ERROR_NOT_ENOUGH_MEMORY when they fail for want of memory.
#define ERROR_NOT_ENOUGH_MEMORY 8L
KESTRA_API DWORD GetLastError();
KESTRA_API void SetLastError(DWORD error);
KESTRA_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
KESTRA_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
KESTRA_API BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
KESTRA_API int GetTextFaceA(HDC dc, int count, LPSTR name);

// Memory, as the library's allocator.
#define GMEM_FIXED 0x0000
#define GMEM_ZEROINIT 0x0040
using HGLOBAL = void*;
KESTRA_API HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
KESTRA_API HGLOBAL GlobalFree(HGLOBAL memory);

#define S_OK 0
#define E_FAIL ((HRESULT)0x80004005)
#define E_POINTER ((HRESULT)0x80004003)
#define DDERR_GENERIC E_FAIL

// The part of IDirectDrawSurface the library uses: lending a device context
// for the surface's pixels and taking it back.
struct IDirectDrawSurface {
  virtual HRESULT GetDC(HDC* dc) = 0;
  virtual HRESULT ReleaseDC(HDC dc) = 0;

 protected:
  ~IDirectDrawSurface() = default;
};
using LPDIRECTDRAWSURFACE = IDirectDrawSurface*;

#endif  // KESTRA_WIN32_H
