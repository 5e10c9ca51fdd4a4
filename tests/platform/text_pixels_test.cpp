// Glyph pictures and '&' prefix pictures against real GDI: two-colour
// heights pixel for pixel, grey heights within a measured margin.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/text_reference.h"

namespace kestra::test {
namespace {

struct GlyphCase {
  int height;
  COLORREF text, back;
  int mode;
  std::string text_bytes;
  Picture reference;
};

// COLORREF values in the file are 0x00BBGGRR printed as hex.
std::vector<GlyphCase> glyph_cases() {
  const std::vector<std::string> lines = reference_lines("glyphs.txt");
  std::vector<GlyphCase> cases;
  for (std::size_t at = 0; at < lines.size();) {
    std::istringstream in(lines[at++].substr(7));
    GlyphCase c;
    std::string text;
    in >> c.height >> std::hex >> c.text >> c.back >> std::dec >> c.mode >> text;
    c.text_bytes = unescape(text);
    c.reference = read_picture(lines, at, 40 + 12 * c.height, 8 + 2 * c.height);
    cases.push_back(std::move(c));
  }
  return cases;
}

Picture draw_text_out(const GlyphCase& c) {
  Canvas canvas(c.reference.width, c.reference.height);
  SelectedFont font(canvas.dc(), c.height);
  SetTextColor(canvas.dc(), c.text);
  SetBkColor(canvas.dc(), c.back);
  SetBkMode(canvas.dc(), c.mode);
  EXPECT_TRUE(TextOutA(canvas.dc(), 3, 2, c.text_bytes.data(), static_cast<int>(c.text_bytes.size())));
  return capture(canvas);
}

TEST(TextOutA, TwoColourHeightsMatchGdiPixelForPixel) {
  NoLeakedObjects guard;
  int checked = 0;
  for (const GlyphCase& c : glyph_cases()) {
    if (!two_colour_height(c.height)) continue;
    SCOPED_TRACE("height " + std::to_string(c.height) + " text " + c.text_bytes);
    const Picture ours = draw_text_out(c);
    EXPECT_EQ(compare(ours, c.reference).pixels, 0) << diff_art(ours, c.reference);
    ++checked;
  }
  EXPECT_EQ(checked, 22);
}

// Grey glyphs come from the same FreeType hinting and GDI's coverage levels
// and blend; a handful of edge pixels of the smallest sizes still differ
// (3 of 2,728 at height 7 when measured).
TEST(TextOutA, GreyHeightsMatchGdiClosely) {
  NoLeakedObjects guard;
  int pixels = 0, differing = 0, checked = 0;
  for (const GlyphCase& c : glyph_cases()) {
    if (two_colour_height(c.height)) continue;
    SCOPED_TRACE("height " + std::to_string(c.height) + " text " + c.text_bytes);
    const Picture ours = draw_text_out(c);
    const Difference d = compare(ours, c.reference);
    EXPECT_LE(d.pixels, 4) << diff_art(ours, c.reference);
    pixels += static_cast<int>(ours.rgb.size());
    differing += d.pixels;
    ++checked;
  }
  EXPECT_EQ(checked, 26);
  EXPECT_LE(differing * 10000, pixels) << differing << " of " << pixels << " pixels differ";
}

TEST(DrawTextA, PrefixPicturesMatchGdi) {
  NoLeakedObjects guard;
  const std::vector<std::string> lines = reference_lines("prefix.txt");
  int checked = 0;
  for (std::size_t at = 0; at < lines.size();) {
    std::istringstream in(lines[at++].substr(7));
    int height, result;
    UINT flags;
    std::string text;
    in >> height >> flags >> text >> result;
    text = unescape(text);
    const Picture reference = read_picture(lines, at, 140, 40);
    SCOPED_TRACE("height " + std::to_string(height) + " flags " + std::to_string(flags) + " " + text);

    Canvas canvas(140, 40);
    SelectedFont font(canvas.dc(), height);
    SetTextColor(canvas.dc(), RGB(255, 255, 255));
    SetBkColor(canvas.dc(), RGB(0, 0, 128));
    SetBkMode(canvas.dc(), (flags & DT_CENTER) ? OPAQUE : TRANSPARENT);
    RECT rect{4, 4, 130, 36};
    EXPECT_EQ(DrawTextA(canvas.dc(), text.data(), static_cast<int>(text.size()), &rect, flags), result);
    const Picture ours = capture(canvas);
    const Difference d = compare(ours, reference);
    if (two_colour_height(height)) {
      EXPECT_EQ(d.pixels, 0) << diff_art(ours, reference);
    } else {
      EXPECT_LE(d.pixels, 4) << diff_art(ours, reference);
    }
    ++checked;
  }
  EXPECT_EQ(checked, 72);
}

}  // namespace
}  // namespace kestra::test
