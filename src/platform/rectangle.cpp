// Rectangle: normalised corners, the brush inside and the pen's closed
// outline through the corner pixels.
#include <algorithm>

#include "platform/no_throw.h"
#include "platform/raster.h"
#include "platform/recording.h"

namespace kestra::platform {
namespace {

RECT normalised(int left, int top, int right, int bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom)};
}

// The outline runs anticlockwise from the top-right corner pixel, as GDI
// draws it: that is where a styled pen's pattern starts, and the pattern
// runs on around the corners. Each side leaves out its end point, which the
// next side paints.
void draw_outline(const DeviceContext& dc, const RECT& box) {
  const POINT corners[] = {{box.right - 1, box.top},
                           {box.left, box.top},
                           {box.left, box.bottom - 1},
                           {box.right - 1, box.bottom - 1}};
  draw_pen_outline(dc, corners, 4);
}

// The brush covers the inside of the outline; without an outline (PS_NULL)
// it also covers the outline's left column and top row.
RECT fill_area(const DeviceContext& dc, const RECT& box) {
  const int inset = dc.pen && dc.pen->style == PS_NULL ? 0 : 1;
  return {box.left + inset, box.top + inset, box.right - 1, box.bottom - 1};
}

}  // namespace
}  // namespace kestra::platform

using namespace kestra::platform;

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  if (const auto recording = recording_dc(dc)) return record_rectangle(*recording, left, top, right, bottom);
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    auto context = dc_of(dc);
    if (!context) return FALSE;
    const RECT box = normalised(left, top, right, bottom);
    if (!context->bitmap || box.left == box.right || box.top == box.bottom) return TRUE;
    fill_with_brush(*context, *context->bitmap, fill_area(*context, box));
    draw_outline(*context, box);
    return TRUE;
  });
}
