// The text rules case by case: DrawTextA placement and clipping, opaque
// cells, prefixes, counts, extreme arguments and drawing from several
// threads.
#include <gtest/gtest.h>

#include <climits>
#include <thread>

#include "platform/text_reference.h"
#include "platform/text_render.h"

namespace kestra::test {
namespace {

constexpr COLORREF navy = RGB(0, 0, 128);

// Box of the pixels that are not black: "left top right bottom" or "none".
std::string painted_box(const Canvas& canvas) {
  const std::string s = summary(capture(canvas));
  if (s.rfind("200 60 -1 -1", 0) == 0) return "none";
  std::size_t end = 0;
  for (int fields = 0; fields < 4; ++fields) end = s.find(' ', end + 1);
  return s.substr(0, end);
}

// "Category" at height 14 is 50 x 14 pixels. With the text drawn in the
// background colour the painted box is exactly the clipped cell.
TEST(DrawTextA, PlacesAndClipsTheCellByGdiFormulas) {
  NoLeakedObjects guard;
  struct Case {
    int line;
    RECT rect;
    UINT flags;
    const char* cell;  // painted box on a 200 x 60 canvas
    int result;
  };
  constexpr UINT single = DT_SINGLELINE;
  const Case cases[] = {
      {__LINE__, {10, 10, 150, 40}, single, "10 10 59 23", 14},
      {__LINE__, {10, 10, 150, 40}, single | DT_CENTER, "55 10 104 23", 14},
      // y = top + trunc((bottom - top) / 2) - trunc(cy / 2) = 10 + 15 - 7
      {__LINE__, {10, 10, 150, 40}, single | DT_VCENTER, "10 18 59 31", 22},
      // An inverted rectangle centres to the same cell; the result goes negative.
      {__LINE__, {150, 40, 10, 10}, single | DT_CENTER | DT_VCENTER, "55 18 104 31", -8},
      // Top below bottom without DT_VCENTER: the cell starts outside the clip.
      {__LINE__, {10, 40, 150, 10}, single, "none", 14},
      // (-41 + 40 - 50) / 2 truncates to -25, not -26.
      {__LINE__, {-41, 0, 40, 30}, single | DT_CENTER, "0 0 24 13", 14},
      // 0 + trunc(9 / 2) - 7 = -3: the cell is cut at the rectangle's top.
      {__LINE__, {0, 0, 100, 9}, single | DT_VCENTER, "0 0 49 8", 11},
      // Narrower than the text: cut at both sides when centred.
      {__LINE__, {30, 5, 61, 26}, single | DT_CENTER, "30 5 60 18", 14},
      {__LINE__, {30, 5, 61, 26}, single | DT_CENTER | DT_NOCLIP, "20 5 69 18", 14},
      {__LINE__, {30, 5, 61, 26}, single, "30 5 60 18", 14},
      {__LINE__, {10, 10, 150, 40}, single | DT_RIGHT | DT_BOTTOM, "100 26 149 39", 30},
      // Without DT_SINGLELINE, DT_VCENTER has no effect.
      {__LINE__, {10, 10, 150, 40}, DT_VCENTER, "10 10 59 23", 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("line " + std::to_string(c.line));
    Canvas canvas(200, 60);
    SelectedFont font(canvas.dc(), 14);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), navy);
    SetTextColor(canvas.dc(), navy);
    RECT rect = c.rect;
    EXPECT_EQ(DrawTextA(canvas.dc(), "Category", -1, &rect, c.flags), c.result);
    EXPECT_EQ(painted_box(canvas), c.cell);
    EXPECT_EQ(rect.left, c.rect.left);  // the rectangle is only read
  }
}

TEST(TextOutA, OpaqueFillsTheCellTransparentOnlyTheGlyphs) {
  NoLeakedObjects guard;
  Canvas canvas(100, 40);
  SelectedFont font(canvas.dc(), 14);
  SetBkColor(canvas.dc(), navy);
  SetTextColor(canvas.dc(), RGB(255, 255, 255));
  ASSERT_TRUE(TextOutA(canvas.dc(), 5, 7, "Category", 8));
  const Picture opaque = capture(canvas);
  EXPECT_EQ(summary(opaque).substr(0, 13), "5 7 54 20 700");  // 50 x 14, every pixel painted
  EXPECT_EQ(opaque.at(5, 7), 0x000080u);

  Canvas clear(100, 40);
  SelectedFont clear_font(clear.dc(), 14);
  SetBkMode(clear.dc(), TRANSPARENT);
  SetBkColor(clear.dc(), navy);
  SetTextColor(clear.dc(), RGB(255, 255, 255));
  ASSERT_TRUE(TextOutA(clear.dc(), 5, 7, "Category", 8));
  const Picture glyphs = capture(clear);
  int painted = 0;
  for (std::size_t i = 0; i < glyphs.rgb.size(); ++i) {
    if (!glyphs.rgb[i]) continue;
    ++painted;
    EXPECT_EQ(glyphs.rgb[i], 0xFFFFFFu) << "two-colour height: text colour only";
    EXPECT_EQ(opaque.rgb[i], 0xFFFFFFu) << "glyphs are drawn over the cell";
  }
  EXPECT_GT(painted, 100);
  EXPECT_LT(painted, 400);
}

TEST(StripPrefixes, FollowsGdiPrefixRules) {
  struct Case {
    int line;
    const char* text;
    const char* shown;
    int underlined;
  };
  const Case cases[] = {
      {__LINE__, "&File", "File", 0},
      {__LINE__, "Save && Exit", "Save & Exit", -1},
      {__LINE__, "A&", "A&", -1},         // a trailing '&' shows
      {__LINE__, "a&b&c", "abc", 2},      // the last mark wins
      {__LINE__, "&&&x", "&x", 1},
      {__LINE__, "&", "&", -1},
      {__LINE__, "", "", -1},
      {__LINE__, "R&&D &costs", "R&D costs", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("line " + std::to_string(c.line));
    const platform::PrefixedText out = platform::strip_prefixes(c.text);
    EXPECT_EQ(out.text, c.shown);
    EXPECT_EQ(out.underlined, c.underlined);
  }
}

// The underline is the only difference DT_NOPREFIX makes to "&&" texts, and
// a prefixed text is centred by the width it shows.
TEST(DrawTextA, PrefixUnderlineIsOneRowUnderTheMarkedCharacter) {
  NoLeakedObjects guard;
  Canvas canvas(200, 60);
  SelectedFont font(canvas.dc(), 14);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), RGB(255, 255, 255));
  RECT rect{4, 4, 130, 36};
  DrawTextA(canvas.dc(), "&File", -1, &rect, DT_SINGLELINE);
  SIZE f{};
  GetTextExtentPoint32A(canvas.dc(), "F", 1, &f);
  // Baseline 4 + 11, underline one row below, the width of 'F' less one.
  EXPECT_EQ(canvas.row(16).substr(0, 4 + f.cx + 1), "...." + std::string(f.cx - 1, '#') + "..");
  EXPECT_EQ(canvas.row(17), std::string(200, '.'));
}

TEST(DrawTextA, CountLimitsTheText) {
  NoLeakedObjects guard;
  Canvas all(200, 60), part(200, 60), cat(200, 60);
  RECT rect{10, 10, 190, 50};
  for (Canvas* canvas : {&all, &part, &cat}) SetTextColor(canvas->dc(), RGB(255, 255, 255));
  SelectedFont f1(all.dc(), 16), f2(part.dc(), 16), f3(cat.dc(), 16);
  EXPECT_EQ(DrawTextA(all.dc(), "Category", -1, &rect, DT_SINGLELINE | DT_CENTER), 16);
  EXPECT_EQ(DrawTextA(part.dc(), "Category", 3, &rect, DT_SINGLELINE | DT_CENTER), 16);
  EXPECT_EQ(DrawTextA(cat.dc(), "Cat", -1, &rect, DT_SINGLELINE | DT_CENTER), 16);
  EXPECT_EQ(summary(capture(part)), summary(capture(cat)));
  EXPECT_NE(summary(capture(part)), summary(capture(all)));
}

// Far-out coordinates, huge and tiny heights and unknown faces must neither
// crash nor overflow.
TEST(TextCalls, SurviveExtremeArguments) {
  NoLeakedObjects guard;
  Canvas canvas(64, 32);
  SetTextColor(canvas.dc(), RGB(255, 255, 255));
  for (int height : {INT_MIN, -100000, -1, 0, 1, 99, 100000, INT_MAX}) {
    SCOPED_TRACE("height " + std::to_string(height));
    SelectedFont font(canvas.dc(), height);
    ASSERT_NE(font.handle(), nullptr);
    RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    DrawTextA(canvas.dc(), "Wg", -1, &huge, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    RECT inverted{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    DrawTextA(canvas.dc(), "Wg", -1, &inverted, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP);
    EXPECT_TRUE(TextOutA(canvas.dc(), INT_MAX, INT_MIN, "Wg", 2));
    EXPECT_TRUE(TextOutA(canvas.dc(), INT_MIN, INT_MAX, "Wg", 2));
    EXPECT_TRUE(TextOutA(canvas.dc(), 2, 2, "Wg", 2));
  }
  HFONT unknown = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "No Such Face At All");
  HFONT unnamed = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
  EXPECT_NE(unknown, nullptr);
  EXPECT_NE(unnamed, nullptr);
  DeleteObject(unknown);
  DeleteObject(unnamed);
  for (auto [weight, reported] : {std::pair{-5, 400}, std::pair{0, 400}, std::pair{5000, 1000}}) {
    HFONT font = CreateFontA(12, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "arial");
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    TEXTMETRICA tm{};
    GetTextMetricsA(canvas.dc(), &tm);
    EXPECT_EQ(tm.tmWeight, reported) << "weight " << weight;
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
  }
}

// Faces and glyphs are shared between threads: each thread must still get
// exactly the single-threaded picture.
TEST(DrawTextA, SeveralThreadsDrawTheSamePictures) {
  NoLeakedObjects guard;
  auto draw = [](int round) {
    Canvas canvas(160, 40);
    SetTextColor(canvas.dc(), RGB(255, 200, 0));
    for (int height = 6 + round % 5; height <= 26; height += 5) {
      SelectedFont font(canvas.dc(), height);
      RECT rect{0, 0, 160, 40};
      DrawTextA(canvas.dc(), "Value \xCF\xF0\xE8\xE2\xE5\xF2 7.50", -1, &rect,
                DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    return summary(capture(canvas));
  };
  std::vector<std::string> expected;
  for (int round = 0; round < 5; ++round) expected.push_back(draw(round));
  std::vector<std::string> results(8 * 5);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 5; ++round) results[t * 5 + round] = draw((round + t) % 5);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 8; ++t)
    for (int round = 0; round < 5; ++round)
      EXPECT_EQ(results[t * 5 + round], expected[(round + t) % 5]) << "thread " << t;
}

}  // namespace
}  // namespace kestra::test
