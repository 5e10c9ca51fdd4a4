// Text drawing speed: the labels of a diagram (a font created, selected and
// deleted per label, as the renderer does), against only measuring them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kestra.h"

namespace {

constexpr int labels_per_picture = 200;

struct Label {
  std::string text;
  RECT rect;
  int height;
};

// Value and category labels spread over a 640 x 480 picture.
std::vector<Label> make_labels() {
  std::vector<Label> labels;
  for (int i = 0; i < labels_per_picture; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, i % 3 ? "%d.%02d" : "Category %d", i * 7 % 1000, i % 100);
    const int x = i * 37 % 560, y = i * 23 % 440;
    labels.push_back({text, {x, y, x + 80, y + 30}, 10 + i % 4 * 2});
  }
  return labels;
}

class Picture {
 public:
  Picture() {
    dc_ = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(GetForegroundWindow());
    bitmap_ = CreateCompatibleBitmap(screen, 640, 480);
    ReleaseDC(GetForegroundWindow(), screen);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Picture() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

// Calls `use` with the label's font selected into `dc`, as the renderer
// creates, selects and deletes one font per label.
template <class Use>
void with_label_font(HDC dc, const Label& label, Use use) {
  HFONT font = CreateFontA(label.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0,
                           VARIABLE_PITCH, "arial");
  HGDIOBJ previous = SelectObject(dc, font);
  use();
  SelectObject(dc, previous);
  DeleteObject(font);
}

void BM_DrawDiagramLabels(benchmark::State& state) {
  const std::vector<Label> labels = make_labels();
  Picture picture;
  SetBkMode(picture.dc(), TRANSPARENT);
  SetTextColor(picture.dc(), RGB(20, 20, 20));
  int drawn = 0;
  for (auto _ : state) {
    for (const Label& label : labels) {
      with_label_font(picture.dc(), label, [&] {
        RECT rect = label.rect;
        drawn += DrawTextA(picture.dc(), label.text.c_str(), -1, &rect,
                           DT_SINGLELINE | DT_CENTER | DT_VCENTER) > 0;
      });
    }
  }
  if (drawn != static_cast<int>(state.iterations()) * labels_per_picture) state.SkipWithError("labels not drawn");
  state.SetItemsProcessed(state.iterations() * labels_per_picture);
}
BENCHMARK(BM_DrawDiagramLabels);

// Baseline: the same fonts and texts only measured, no pixels touched.
void BM_MeasureDiagramLabels(benchmark::State& state) {
  const std::vector<Label> labels = make_labels();
  Picture picture;
  long total_width = 0;
  for (auto _ : state) {
    for (const Label& label : labels) {
      with_label_font(picture.dc(), label, [&] {
        SIZE size{};
        GetTextExtentPoint32A(picture.dc(), label.text.c_str(),
                              static_cast<int>(label.text.size()), &size);
        total_width += size.cx;
      });
    }
  }
  benchmark::DoNotOptimize(total_width);
  if (total_width <= 0) state.SkipWithError("nothing measured");
  state.SetItemsProcessed(state.iterations() * labels_per_picture);
}
BENCHMARK(BM_MeasureDiagramLabels);

}  // namespace

BENCHMARK_MAIN();
