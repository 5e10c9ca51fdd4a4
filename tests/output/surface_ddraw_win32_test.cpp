// The surface forms on a real DirectDraw surface: an offscreen surface in
// system memory receives the picture's plot-sized top-left block, and a
// refused call leaves it untouched.
#include <gtest/gtest.h>
#include <ddraw.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "kestra.h"

namespace kestra::test {
namespace {

constexpr COLORREF kSurfaceColor = RGB(12, 34, 56);
constexpr int kSurfaceWidth = 320;
constexpr int kSurfaceHeight = 220;

// Pixels as 0x00RRGGBB, top-down rows.
using Pixels = std::vector<std::uint32_t>;

std::uint32_t rgb_of(COLORREF color) {
  return std::uint32_t{GetRValue(color)} << 16 | std::uint32_t{GetGValue(color)} << 8 |
         GetBValue(color);
}

// An offscreen surface in system memory, filled with kSurfaceColor.
class Surface {
 public:
  Surface() {
    if (FAILED(DirectDrawCreate(nullptr, &draw_, nullptr))) return;
    if (FAILED(draw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) return;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = kSurfaceWidth;
    desc.dwHeight = kSurfaceHeight;
    if (FAILED(draw_->CreateSurface(&desc, &surface_, nullptr))) return;
    DDBLTFX fill{};
    fill.dwSize = sizeof fill;
    fill.dwFillColor = rgb_of(kSurfaceColor);  // a 32-bit surface: 0x00RRGGBB
    if (FAILED(surface_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill))) {
      surface_->Release();
      surface_ = nullptr;
    }
  }
  ~Surface() {
    if (surface_) surface_->Release();
    if (draw_) draw_->Release();
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  IDirectDrawSurface* get() const { return surface_; }

  // The surface's pixels; also shows that no device context is still lent,
  // since a surface with a lent context cannot be locked.
  Pixels pixels() const {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface_->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return {};
    Pixels pixels;
    if (desc.ddpfPixelFormat.dwRGBBitCount == 32) {
      for (int y = 0; y < kSurfaceHeight; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        for (int x = 0; x < kSurfaceWidth; ++x) {
          std::uint32_t pixel;
          std::memcpy(&pixel, row + 4 * x, 4);
          pixels.push_back(pixel & 0xFFFFFF);
        }
      }
    }
    surface_->Unlock(nullptr);
    return pixels;
  }

  bool untouched() const { return pixels() == Pixels(kSurfaceWidth * kSurfaceHeight, rgb_of(kSurfaceColor)); }

 private:
  IDirectDraw* draw_ = nullptr;
  IDirectDrawSurface* surface_ = nullptr;
};

// A bitmap's pixels, read at 32 bits per pixel; the bitmap is deleted.
Pixels take_pixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  Pixels pixels(static_cast<std::size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  if (rows != height) return {};
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

// The surface holds the picture's top-left block_width x block_height block
// at its own top-left corner and its fill colour everywhere else.
void expect_block(const Pixels& surface, const Pixels& picture, int picture_width, int block_width,
                  int block_height) {
  ASSERT_EQ(surface.size(), std::size_t{kSurfaceWidth * kSurfaceHeight});
  int drawn = 0;
  for (int y = 0; y < kSurfaceHeight; ++y) {
    for (int x = 0; x < kSurfaceWidth; ++x) {
      const bool in_block = x < block_width && y < block_height;
      const std::uint32_t expected =
          in_block ? picture[static_cast<std::size_t>(y) * picture_width + x] : rgb_of(kSurfaceColor);
      ASSERT_EQ(surface[static_cast<std::size_t>(y) * kSurfaceWidth + x], expected) << x << "," << y;
      drawn += in_block && expected != picture[0];
    }
  }
  EXPECT_GT(drawn, 100);  // the block holds a drawing, not only background
}

// A two-series bar diagram on a 300 x 200 picture with a 292 x 192 plot area.
struct Diagram {
  Diagram() {
    elements[0] = ReturnGraphElem(RGB(200, 0, 0), 1, const_cast<char*>("Alpha"));
    elements[1] = ReturnGraphElem(RGB(0, 0, 200), 2, const_cast<char*>("Beta"));
    disp = ReturnDiagDisp({0, 0, 300, 200}, RGB(255, 255, 255), RGB(0, 0, 255), RGB(0, 128, 0), 4,
                          RGB(0, 0, 0), 12, RGB(255, 255, 0), 10, const_cast<char*>("Category"),
                          const_cast<char*>("Value"), labels, 12, 2, elements, 1, 0x3FF);
    disp.rcPlot = {4, 4, 296, 196};
  }
  double values[8] = {1, 3, 2, 4, 2, 1, 3, 2};
  TAB_GR table{2, 4, values};
  GRAPH_ELEM elements[2];
  char labels[13] = "Q1\0Q2\0Q3\0Q4";
  DIAG_DISP disp;
};

OPTION_RECT plot_options(int font_height) {
  OPTION_RECT options = ReturnOptionRect(
      {0, 0, 300, 200}, RGB(255, 255, 240), RGB(200, 0, 0), RGB(0, 0, 255), RGB(0, 128, 0), -7, -3,
      7, 3, -7, 7, RGB(0, 0, 0), font_height, const_cast<char*>("x"), const_cast<char*>("y"), 0x7F);
  options.rcPlot = {4, 4, 296, 196};
  return options;
}

char kSine[] = "y=sin(x)*2";

TEST(DirectDrawSurface, DiagramReceivesThePlotSizedBlock) {
  Diagram diagram;
  HBITMAP bitmap = nullptr;
  ASSERT_EQ(CreateDiag(diagram.table, diagram.disp, &bitmap, 1, KESTRA_KIND_BARS), KESTRA_OK);
  const Pixels picture = take_pixels(bitmap, 300, 200);
  ASSERT_FALSE(picture.empty());
  Surface surface;
  ASSERT_NE(surface.get(), nullptr);
  ASSERT_EQ(CreateDiag(diagram.table, diagram.disp, surface.get(), 2, KESTRA_KIND_BARS), KESTRA_OK);
  expect_block(surface.pixels(), picture, 300, 292, 192);
}

TEST(DirectDrawSurface, PlotReceivesThePlotSizedBlock) {
  HBITMAP bitmap = nullptr;
  ASSERT_EQ(CreateGraph(kSine, plot_options(12), &bitmap, 1), KESTRA_OK);
  const Pixels picture = take_pixels(bitmap, 300, 200);
  ASSERT_FALSE(picture.empty());
  Surface surface;
  ASSERT_NE(surface.get(), nullptr);
  ASSERT_EQ(CreateGraph(kSine, plot_options(12), surface.get(), 10), KESTRA_OK);  // 10 & 7 is 2
  expect_block(surface.pixels(), picture, 300, 292, 192);
}

TEST(DirectDrawSurface, RefusedCallsLeaveTheSurfaceUntouched) {
  struct Case {
    int line;
    bool plot;
    unsigned long mode;
    int font_height;
    int status;
  } cases[] = {
      {__LINE__, false, 1, 12, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, false, 9, 12, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, false, 3, 12, KESTRA_MODE_UNKNOWN},
      {__LINE__, false, 0, 12, KESTRA_MODE_ZERO},
      {__LINE__, false, 8, 12, KESTRA_MODE_ZERO},
      {__LINE__, true, 1, 12, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, true, 1, 0, KESTRA_BAD_FONT_HEIGHT},  // the font is checked first
      {__LINE__, true, 3, 12, KESTRA_MODE_UNKNOWN},
      {__LINE__, true, 0, 12, KESTRA_MODE_ZERO},
  };
  Diagram diagram;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    Surface surface;
    ASSERT_NE(surface.get(), nullptr);
    const int status =
        c.plot ? CreateGraph(kSine, plot_options(c.font_height), surface.get(), c.mode)
               : CreateDiag(diagram.table, diagram.disp, surface.get(), c.mode, KESTRA_KIND_BARS);
    EXPECT_EQ(status, c.status);
    EXPECT_TRUE(surface.untouched());
  }
}

}  // namespace
}  // namespace kestra::test
