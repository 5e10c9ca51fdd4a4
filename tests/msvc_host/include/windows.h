// The few Windows SDK declarations the MSVC-ABI host and kestra.h need,
// spelled as the SDK spells them (type names, handle structs, calling
// conventions), so that clang in MSVC mode builds the host with no SDK.
#pragma once

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned long DWORD;
typedef long LONG;
typedef unsigned int UINT;
typedef unsigned long ULONG;
typedef long HRESULT;
typedef void* HANDLE;
typedef void* LPVOID;
typedef void* HGDIOBJ;
typedef const char* LPCSTR;
typedef DWORD COLORREF;

#define WINAPI __stdcall
#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  typedef struct name##__* name
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HDC);

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

typedef struct tagRECT {
  LONG left, top, right, bottom;
} RECT;

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP;

typedef struct tagBITMAPINFOHEADER {
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
} BITMAPINFOHEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO;

#define BI_RGB 0
#define DIB_RGB_COLORS 0
#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define GENERIC_WRITE 0x40000000
#define CREATE_ALWAYS 2
#define FILE_ATTRIBUTE_NORMAL 0x80
#define INVALID_HANDLE_VALUE ((HANDLE)(long long)-1)
#define S_OK ((HRESULT)0)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)

extern "C" {
// kernel32
__declspec(dllimport) HANDLE WINAPI GetStdHandle(DWORD handle);
__declspec(dllimport) BOOL WINAPI WriteFile(HANDLE file, const void* bytes, DWORD size,
                                            DWORD* written, void* overlapped);
__declspec(dllimport) HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share,
                                                void* security, DWORD disposition,
                                                DWORD attributes, HANDLE templ);
__declspec(dllimport) BOOL WINAPI CloseHandle(HANDLE handle);
__declspec(dllimport) __declspec(noreturn) void WINAPI ExitProcess(UINT status);
// gdi32
__declspec(dllimport) HDC WINAPI CreateCompatibleDC(HDC dc);
__declspec(dllimport) BOOL WINAPI DeleteDC(HDC dc);
__declspec(dllimport) HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
__declspec(dllimport) BOOL WINAPI DeleteObject(HGDIOBJ object);
__declspec(dllimport) int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer);
__declspec(dllimport) int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines,
                                           LPVOID bits, BITMAPINFO* info, UINT usage);
__declspec(dllimport) HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage,
                                                      void** bits, HANDLE section,
                                                      DWORD offset);
}
