// Line and fill speed of the raster layer, one benchmark per pen and brush
// routine: a fan of 64 lines across a 1024 x 1024 bitmap with a cosmetic
// solid, dashed (gaps painted or left) and wide pen, and 1000 x 1000
// rectangles with a solid and a hatch brush (gaps painted or left).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "kestra.h"

namespace {

constexpr int kSide = 1024;
constexpr int kFanLines = 64;

// A memory DC holding a white kSide x kSide bitmap; the pen and brush
// selected last are deleted with it.
class Canvas {
 public:
  Canvas() : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFOHEADER header{40, kSide, kSide, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> white(static_cast<std::size_t>(kSide) * kSide * 3, 0xFF);
    bitmap_ = CreateDIBitmap(dc_, &header, CBM_INIT, white.data(),
                             reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    original_bitmap_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, original_bitmap_);
    if (original_pen_) DeleteObject(SelectObject(dc_, original_pen_));
    if (original_brush_) DeleteObject(SelectObject(dc_, original_brush_));
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  bool ready() const { return dc_ && bitmap_ && original_bitmap_; }
  void use_pen(HPEN pen) { original_pen_ = SelectObject(dc_, pen); }
  void use_brush(HBRUSH brush) { original_brush_ = SelectObject(dc_, brush); }

  // Pixels that are no longer white: a check that real work was done.
  std::size_t painted() const {
    BITMAPINFO info{};
    info.bmiHeader = {40, kSide, kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kSide) * kSide);
    GetDIBits(dc_, bitmap_, 0, kSide, pixels.data(), &info, DIB_RGB_COLORS);
    std::size_t count = 0;
    for (std::uint32_t p : pixels) count += (p & 0xFFFFFF) != 0xFFFFFF;
    return count;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_bitmap_ = nullptr;
  HGDIOBJ original_pen_ = nullptr;
  HGDIOBJ original_brush_ = nullptr;
};

void report(benchmark::State& state, const Canvas& canvas, std::int64_t items) {
  state.SetItemsProcessed(state.iterations() * items);
  if (canvas.painted() == 0) state.SkipWithError("nothing was drawn");
}

// The fan: lines from the top-left corner to points along the far edges.
void BM_LineFan(benchmark::State& state, int style, int width, int background) {
  Canvas canvas;
  if (!canvas.ready()) return state.SkipWithError("no canvas");
  canvas.use_pen(CreatePen(style, width, RGB(200, 0, 0)));
  SetBkMode(canvas.dc(), background);
  for (auto _ : state) {
    for (int i = 0; i < kFanLines; ++i) {
      const int along = i * (kSide / (kFanLines / 2));
      MoveToEx(canvas.dc(), 0, 0, nullptr);
      benchmark::DoNotOptimize(
          LineTo(canvas.dc(), i % 2 ? kSide - 1 : along, i % 2 ? along : kSide - 1));
    }
  }
  report(state, canvas, kFanLines);
}
BENCHMARK_CAPTURE(BM_LineFan, solid, PS_SOLID, 1, OPAQUE);
BENCHMARK_CAPTURE(BM_LineFan, dash_opaque, PS_DASH, 1, OPAQUE);
BENCHMARK_CAPTURE(BM_LineFan, dash_transparent, PS_DASH, 1, TRANSPARENT);
BENCHMARK_CAPTURE(BM_LineFan, wide5, PS_SOLID, 5, OPAQUE);

// One 1000 x 1000 rectangle with a one-pixel outline.
void BM_Rectangle(benchmark::State& state, HBRUSH brush, int background) {
  Canvas canvas;
  if (!canvas.ready()) return state.SkipWithError("no canvas");
  canvas.use_brush(brush);
  SetBkMode(canvas.dc(), background);
  for (auto _ : state) benchmark::DoNotOptimize(Rectangle(canvas.dc(), 10, 10, 1010, 1010));
  report(state, canvas, 1000 * 1000);
}
void BM_SolidRectangle(benchmark::State& state) {
  BM_Rectangle(state, CreateSolidBrush(RGB(0, 90, 200)), OPAQUE);
}
void BM_HatchRectangle(benchmark::State& state, int background) {
  BM_Rectangle(state, CreateHatchBrush(HS_DIAGCROSS, RGB(0, 90, 200)), background);
}
BENCHMARK(BM_SolidRectangle);
BENCHMARK_CAPTURE(BM_HatchRectangle, opaque, OPAQUE);
BENCHMARK_CAPTURE(BM_HatchRectangle, transparent, TRANSPARENT);

}  // namespace

BENCHMARK_MAIN();
