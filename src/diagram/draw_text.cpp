// Text output into a rectangle, as every diagram text is drawn.
#include "diagram/diagram.h"

namespace kestra::diagram {

void draw_text(HDC dc, std::string_view text, RECT rect, UINT flags) {
  if (text.empty()) return;  // an empty text paints nothing
  // DrawTextA answers 0 both on failure and for text placed at the
  // rectangle's top edge; only the thread's last error tells them apart.
  SetLastError(0);
  const int height = DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, flags);
  canvas::drawn(height != 0 || GetLastError() == 0);
}

}  // namespace kestra::diagram
