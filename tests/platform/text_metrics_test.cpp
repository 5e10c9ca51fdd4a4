// Font metrics, advance widths, extents and face names against real GDI.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/text_reference.h"

namespace kestra::test {
namespace {

std::vector<std::string> lines_starting(const std::string& file, const std::string& tag) {
  std::vector<std::string> out;
  for (const std::string& line : reference_lines(file))
    if (line.rfind(tag + " ", 0) == 0) out.push_back(line.substr(tag.size() + 1));
  return out;
}

TEST(GetTextMetricsA, MatchesGdiAtEveryHeight) {
  NoLeakedObjects guard;
  Canvas canvas(8, 8);
  const auto rows = lines_starting("metrics.txt", "metrics");
  ASSERT_EQ(rows.size(), 61u);
  for (const std::string& row : rows) {
    std::istringstream in(row);
    int h;
    long expected[15];
    std::string face;
    in >> h;
    for (long& value : expected) in >> value;
    in >> face;
    SCOPED_TRACE("height " + std::to_string(h));
    SelectedFont font(canvas.dc(), h);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
    const long ours[15] = {tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading,
                           tm.tmExternalLeading, tm.tmAveCharWidth, tm.tmMaxCharWidth,
                           tm.tmWeight, tm.tmOverhang, tm.tmFirstChar, tm.tmLastChar,
                           tm.tmDefaultChar, tm.tmBreakChar, tm.tmPitchAndFamily, tm.tmCharSet};
    for (int i = 0; i < 15; ++i) EXPECT_EQ(ours[i], expected[i]) << "field " << i;
    char name[64] = {};
    EXPECT_EQ(GetTextFaceA(canvas.dc(), sizeof name, name), static_cast<int>(unescape(face).size()));
    EXPECT_EQ(unescape(face), name);
  }
}

// Every byte's advance is what GetCharWidth32A reported, so single-byte
// extents add up exactly.
TEST(GetTextExtentPoint32A, AdvanceOfEveryByteMatchesGdi) {
  NoLeakedObjects guard;
  Canvas canvas(8, 8);
  for (const std::string& row : lines_starting("metrics.txt", "widths")) {
    std::istringstream in(row);
    int h;
    in >> h;
    SCOPED_TRACE("height " + std::to_string(h));
    SelectedFont font(canvas.dc(), h);
    int mismatches = 0;
    for (int byte = 32; byte < 256; ++byte) {
      int expected;
      in >> expected;
      const char text = static_cast<char>(byte);
      SIZE size{};
      ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), &text, 1, &size));
      if (size.cx != expected) {
        ++mismatches;
        ADD_FAILURE() << "byte " << byte << ": " << size.cx << " instead of " << expected;
      }
      if (mismatches > 5) return;
    }
  }
}

TEST(GetTextExtentPoint32A, MatchesGdiForTexts) {
  NoLeakedObjects guard;
  Canvas canvas(8, 8);
  for (const std::string& row : lines_starting("metrics.txt", "extent")) {
    std::istringstream in(row);
    int h;
    long cx, cy;
    std::string text;
    in >> h >> cx >> cy >> text;
    text = unescape(text);
    SCOPED_TRACE(row);
    SelectedFont font(canvas.dc(), h);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), text.data(), static_cast<int>(text.size()), &size));
    EXPECT_EQ(size.cx, cx);
    EXPECT_EQ(size.cy, cy);
  }
}

TEST(GetTextFaceA, CountsLikeGdi) {
  NoLeakedObjects guard;
  const auto rows = lines_starting("metrics.txt", "face");
  ASSERT_EQ(rows.size(), 1u);
  std::istringstream in(rows[0]);
  int full, none, cut;
  std::string prefix;
  in >> full >> none >> cut >> prefix;
  Canvas canvas(8, 8);
  SelectedFont font(canvas.dc(), 10);
  char name[64];
  char small[5];
  EXPECT_EQ(GetTextFaceA(canvas.dc(), sizeof name, name), full);
  EXPECT_EQ(GetTextFaceA(canvas.dc(), 0, nullptr), none);
  EXPECT_EQ(GetTextFaceA(canvas.dc(), sizeof small, small), cut);
  EXPECT_EQ(unescape(prefix), small);
  EXPECT_EQ(GetTextFaceA(canvas.dc(), 0, name), 0);
}

// The same bytes mean other characters under another character set: CP1251
// Cyrillic letters have other widths than the CP1252 accented Latin ones.
TEST(CreateFontA, CharsetChoosesTheCodePage) {
  NoLeakedObjects guard;
  Canvas canvas(8, 8);
  const char text[] = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in CP1251, "Ïðèâåò" in CP1252
  SIZE cyrillic{}, latin{};
  {
    SelectedFont font(canvas.dc(), 20);
    GetTextExtentPoint32A(canvas.dc(), text, 6, &cyrillic);
  }
  HFONT ansi = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "arial");
  HGDIOBJ previous = SelectObject(canvas.dc(), ansi);
  GetTextExtentPoint32A(canvas.dc(), text, 6, &latin);
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  SelectObject(canvas.dc(), previous);
  DeleteObject(ansi);
  EXPECT_EQ(cyrillic.cx, 61);  // measured on GDI
  EXPECT_NE(latin.cx, cyrillic.cx);
  EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);
}

TEST(GetTextMetricsA, StockFontHasAUsableFace) {
  NoLeakedObjects guard;
  Canvas canvas(8, 8);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmWeight, 700);
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "Axis", 4, &size));
  EXPECT_GT(size.cx, 0);
}

TEST(TextCalls, RejectBadArguments) {
  NoLeakedObjects guard;
  Canvas canvas(8, 8);
  SelectedFont font(canvas.dc(), 12);
  HDC garbage = reinterpret_cast<HDC>(std::uintptr_t{0xdead});
  SIZE size{};
  TEXTMETRICA tm{};
  char name[32];
  RECT rect{0, 0, 8, 8};
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc(), "a", 1, nullptr));
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc(), nullptr, 3, &size));
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc(), "a", -1, &size));
  EXPECT_FALSE(GetTextExtentPoint32A(garbage, "a", 1, &size));
  EXPECT_FALSE(GetTextMetricsA(canvas.dc(), nullptr));
  EXPECT_FALSE(GetTextMetricsA(garbage, &tm));
  EXPECT_EQ(GetTextFaceA(garbage, sizeof name, name), 0);
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutA(garbage, 0, 0, "a", 1));
  EXPECT_EQ(DrawTextA(canvas.dc(), nullptr, -1, &rect, DT_SINGLELINE), 0);
  EXPECT_EQ(DrawTextA(canvas.dc(), "a", -1, nullptr, DT_SINGLELINE), 0);
  EXPECT_EQ(DrawTextA(garbage, "a", -1, &rect, DT_SINGLELINE), 0);
  EXPECT_EQ(SelectObject(canvas.dc(), reinterpret_cast<HGDIOBJ>(std::uintptr_t{0xbeef})), nullptr);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(canvas.row(y), "........");
}

}  // namespace
}  // namespace kestra::test
