// Rectangle: normalised corners, the brush inside and the pen's closed
// one-pixel outline through the corner pixels.
#include <algorithm>

#include "platform/raster.h"

namespace kestra::platform {
namespace {

RECT normalised(int left, int top, int right, int bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom)};
}

// The outline runs (l,t) -> (r-1,t) -> (r-1,b-1) -> (l,b-1) -> (l,t); each
// side leaves out its end point, which the next side paints.
void draw_outline(const DeviceContext& dc, const RECT& box) {
  const POINT corners[] = {{box.left, box.top},
                           {box.right - 1, box.top},
                           {box.right - 1, box.bottom - 1},
                           {box.left, box.bottom - 1}};
  for (int side = 0; side < 4; ++side) draw_pen_line(dc, corners[side], corners[(side + 1) % 4]);
}

}  // namespace
}  // namespace kestra::platform

using namespace kestra::platform;

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  auto context = dc_of(dc);
  if (!context) return FALSE;
  const RECT box = normalised(left, top, right, bottom);
  if (!context->bitmap || box.left == box.right || box.top == box.bottom) return TRUE;
  fill_with_brush(*context, *context->bitmap,
                  {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1});
  draw_outline(*context, box);
  return TRUE;
}
