// DrawTextA placement, clipping, background and return value against real
// GDI, and the rules behind them case by case.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/text_reference.h"

namespace kestra::test {
namespace {

// Every flag set, both background modes, rectangles normal, narrow,
// inverted and partly off the canvas, heights 8 to 20: the return value,
// the box of changed pixels, their count and the picture's hash must all
// equal GDI's.
TEST(DrawTextA, PlacementAndClippingMatchGdi) {
  NoLeakedObjects guard;
  int checked = 0;
  for (const std::string& line : reference_lines("layout.txt")) {
    std::istringstream in(line.substr(7));
    int height, mode, result;
    UINT flags;
    RECT rect;
    std::string text;
    in >> height >> flags >> mode >> rect.left >> rect.top >> rect.right >> rect.bottom >> text >> result;
    std::string expected;
    std::getline(in >> std::ws, expected);
    text = unescape(text);
    SCOPED_TRACE(line);

    Canvas canvas(200, 60);
    SelectedFont font(canvas.dc(), height);
    SetTextColor(canvas.dc(), RGB(255, 255, 255));
    SetBkColor(canvas.dc(), RGB(0, 0, 128));
    SetBkMode(canvas.dc(), mode);
    RECT given = rect;
    EXPECT_EQ(DrawTextA(canvas.dc(), text.c_str(), -1, &given, flags), result);
    EXPECT_EQ(summary(capture(canvas)), expected);
    ++checked;
  }
  EXPECT_EQ(checked, 936);
}

}  // namespace
}  // namespace kestra::test
