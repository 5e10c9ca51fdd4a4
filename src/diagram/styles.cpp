// The line style codes of the records as GDI pen styles, and text output
// into a rectangle.
#include "diagram/diagram.h"

namespace kestra::diagram {

int pen_style(std::int32_t code) {
  switch (code) {
    case 2: return PS_DOT;
    case 3: return PS_DASH;
    case 4: return PS_DASHDOT;
    case 5: return PS_DASHDOTDOT;
    default: return PS_SOLID;  // 1, and codes without a style of their own
  }
}

void draw_text(HDC dc, std::string_view text, RECT rect, UINT flags) {
  if (text.empty()) return;  // an empty text paints nothing
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, flags);
}

}  // namespace kestra::diagram
