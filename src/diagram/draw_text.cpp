// Text output into a rectangle, as every diagram text is drawn.
#include "diagram/diagram.h"

namespace kestra::diagram {

void draw_text(HDC dc, std::string_view text, RECT rect, UINT flags) {
  if (text.empty()) return;  // an empty text paints nothing
  canvas::drawn(DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, flags) != 0);
}

}  // namespace kestra::diagram
