// The Win32 functions the library exports to hosts let no exception out:
// with the n-th allocation failing, each returns its Win32 failure value (or
// succeeds) and leaves no object behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>

#include "kestra.h"
#include "support/canvas.h"

namespace {

// Allocations this thread may still make before the next one fails; -1 never fails.
thread_local long allocations_left = -1;

}  // namespace

void* operator new(std::size_t size) {
  if (allocations_left == 0) throw std::bad_alloc();
  if (allocations_left > 0) --allocations_left;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace kestra::test {
namespace {

// A call under test: true when it succeeded, false when it reported failure.
// It releases what it made itself.
struct Call {
  const char* name;
  std::function<bool(HDC dc)> run;
};

bool released(HGDIOBJ object) { return object && DeleteObject(object); }

TEST(Win32NoThrow, FailingAllocationsGiveTheFailureValue) {
  const Call calls[] = {
      {"CreatePen", [](HDC) { return released(CreatePen(PS_SOLID, 1, 0)); }},
      {"CreateSolidBrush", [](HDC) { return released(CreateSolidBrush(0)); }},
      {"CreateHatchBrush", [](HDC) { return released(CreateHatchBrush(HS_CROSS, 0)); }},
      {"CreateFontA",
       [](HDC) {
         return released(CreateFontA(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0,
                                     VARIABLE_PITCH, "arial"));
       }},
      {"CreateCompatibleDC",
       [](HDC) {
         HDC dc = CreateCompatibleDC(nullptr);
         return dc && DeleteDC(dc);
       }},
      {"GetDC",
       [](HDC) {
         HDC dc = GetDC(nullptr);
         return dc && ReleaseDC(nullptr, dc);
       }},
      {"DrawTextA",
       [](HDC dc) {
         RECT rect{0, 0, 60, 20};
         return DrawTextA(dc, "A&b c", -1, &rect, DT_SINGLELINE | DT_NOPREFIX) != 0;
       }},
      {"TextOutA", [](HDC dc) { return TextOutA(dc, 1, 1, "Abc", 3) != FALSE; }},
      {"GetTextExtentPoint32A",
       [](HDC dc) {
         SIZE size{};
         return GetTextExtentPoint32A(dc, "Abc", 3, &size) != FALSE;
       }},
      {"LineTo", [](HDC dc) { return MoveToEx(dc, 2, 2, nullptr) && LineTo(dc, 50, 17); }},
      {"Rectangle", [](HDC dc) { return Rectangle(dc, 3, 3, 40, 15) != FALSE; }},
      {"CreateCompatibleBitmap", [](HDC dc) { return released(CreateCompatibleBitmap(dc, 4, 3)); }},
      {"CreateDIBitmap",
       [](HDC dc) {
         const BITMAPINFOHEADER header{40, 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
         const std::uint8_t rows[16] = {};
         return released(CreateDIBitmap(dc, &header, CBM_INIT, rows,
                                        reinterpret_cast<const BITMAPINFO*>(&header),
                                        DIB_RGB_COLORS));
       }},
      {"GetDIBits",
       [](HDC dc) {
         BITMAPINFO info{};
         info.bmiHeader = {40, 60, 20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
         std::uint32_t pixels[60 * 20];
         return GetDIBits(dc, static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)), 0, 20, pixels,
                          &info, DIB_RGB_COLORS) == 20;
       }},
      {"StretchBlt",
       [](HDC dc) { return StretchBlt(dc, 0, 0, 30, 10, dc, 0, 0, 60, 20, SRCCOPY) != FALSE; }},
  };
  for (const Call& call : calls) {
    SCOPED_TRACE(call.name);
    Canvas canvas(60, 20);
    HGDIOBJ font = CreateFontA(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0,
                               VARIABLE_PITCH, "arial");
    HGDIOBJ pen = CreatePen(PS_SOLID, 5, RGB(1, 2, 3));  // a wide pen allocates its ends
    HGDIOBJ old_font = SelectObject(canvas.dc(), font);
    HGDIOBJ old_pen = SelectObject(canvas.dc(), pen);
    {
      NoLeakedObjects guard;
      bool succeeded = false;
      for (long n = 0; n < 1000 && !succeeded; ++n) {
        allocations_left = n;
        EXPECT_NO_THROW(succeeded = call.run(canvas.dc())) << "failing allocation " << n;
        allocations_left = -1;
      }
      EXPECT_TRUE(succeeded);  // and succeeds once memory suffices
    }
    SelectObject(canvas.dc(), old_pen);
    SelectObject(canvas.dc(), old_font);
    DeleteObject(pen);
    DeleteObject(font);
  }
}

// As Win32 does, a call that fails for want of memory says so in the last error.
TEST(Win32NoThrow, FailingAllocationSetsTheLastError) {
  Canvas canvas(4, 4);
  SetLastError(0);
  allocations_left = 0;
  const HBITMAP bitmap = CreateCompatibleBitmap(canvas.dc(), 4, 4);
  allocations_left = -1;
  EXPECT_EQ(bitmap, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

}  // namespace
}  // namespace kestra::test
