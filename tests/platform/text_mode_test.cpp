// The UTF-8 text mode of the front-ends: decoding, the same pictures as the
// code pages where those have the characters, fallback faces, and a mode
// that belongs to one thread.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <optional>
#include <thread>

#include "kestra_text.h"
#include "platform/glyph_run.h"
#include "platform/text_reference.h"

namespace kestra::test {
namespace {

TEST(NextCodePoint, DecodesUtf8AndReplacesMalformedSequences) {
  struct Case {
    int line;
    std::string text;
    char32_t value;
    std::size_t length;
  };
  const Case cases[] = {
      {__LINE__, "A", U'A', 1},
      {__LINE__, "\xC3\xBC", U'\u00FC', 2},            // ü
      {__LINE__, "\xE6\x9D\xB1", U'\u6771', 3},        // 東
      {__LINE__, "\xF0\x9F\x93\x88", U'\U0001F4C8', 4},
      {__LINE__, "\xFF", U'\uFFFD', 1},                // never in UTF-8
      {__LINE__, "\x80", U'\uFFFD', 1},                // a stray continuation byte
      {__LINE__, "\xE2\x82", U'\uFFFD', 1},            // cut short
      {__LINE__, "\xC0\xAF", U'\uFFFD', 1},            // overlong '/'
      {__LINE__, "\xE0\x80\xAF", U'\uFFFD', 1},        // overlong '/'
      {__LINE__, "\xED\xA0\x80", U'\uFFFD', 1},        // a surrogate
      {__LINE__, "\xF4\x90\x80\x80", U'\uFFFD', 1},    // above U+10FFFF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const platform::CodePoint point = platform::next_code_point(c.text);
    EXPECT_EQ(point.value, c.value);
    EXPECT_EQ(point.length, c.length);
  }
}

// Character sets beyond the two kestra_win32.h names.
constexpr DWORD greek_charset = 161, turkish_charset = 162, easteurope_charset = 238;

HFONT font_of_charset(int height, DWORD charset) {
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, 0, 0, 0, VARIABLE_PITCH,
                     "arial");
}

struct DrawnText {
  Picture picture;
  SIZE extent{};
  int height = 0;
};

// The text drawn both ways GDI draws it, one line each, with an '&' prefix
// in the DrawTextA line and an opaque cell.
DrawnText draw(const std::string& text, DWORD charset, bool utf8) {
  Canvas canvas(260, 50);
  HFONT font = font_of_charset(14, charset);
  HGDIOBJ previous = SelectObject(canvas.dc(), font);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 0, 128));
  SetTextColor(canvas.dc(), RGB(255, 255, 255));
  DrawnText drawn;
  {
    std::optional<Utf8Text> mode;
    if (utf8) mode.emplace();
    TextOutA(canvas.dc(), 3, 2, text.data(), static_cast<int>(text.size()));
    const std::string prefixed = "&" + text;
    RECT rect{0, 20, 260, 50};
    drawn.height = DrawTextA(canvas.dc(), prefixed.data(), -1, &rect, DT_CENTER | DT_SINGLELINE);
    GetTextExtentPoint32A(canvas.dc(), text.data(), static_cast<int>(text.size()), &drawn.extent);
  }
  SelectObject(canvas.dc(), previous);
  DeleteObject(font);
  drawn.picture = capture(canvas);
  return drawn;
}

// Each script in UTF-8 against its own code page: the same glyphs, widths
// and places.
TEST(Utf8TextMode, DrawsAsTheCodePageThatHasTheCharacters) {
  NoLeakedObjects guard;
  struct Case {
    int line;
    const char* utf8;
    const char* code_page_bytes;
    DWORD charset;
  };
  const Case cases[] = {
      {__LINE__, "Sales, kEUR (Q1)", "Sales, kEUR (Q1)", RUSSIAN_CHARSET},
      {__LINE__, "Z\xC3\xBCrich, Gen\xC3\xA8ve", "Z\xFCrich, Gen\xE8ve", ANSI_CHARSET},
      {__LINE__, "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\xC1\xE8\xDE\xED\xE1",
       greek_charset},  // Αθήνα
      {__LINE__, "\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xA3\xF3\x64\x9F", easteurope_charset},  // Łódź
      {__LINE__, "\xC4\xB0zmir, \xC5\x9E\x61nl\xC4\xB1urfa", "\xDDzmir, \xDE\x61nl\xFDurfa",
       turkish_charset},  // İzmir, Şanlıurfa
      {__LINE__, "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xCC\xEE\xF1\xEA\xE2\xE0",
       RUSSIAN_CHARSET},  // Москва
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const DrawnText by_code_page = draw(c.code_page_bytes, c.charset, false);
    const DrawnText by_utf8 = draw(c.utf8, RUSSIAN_CHARSET, true);
    EXPECT_EQ(by_utf8.extent.cx, by_code_page.extent.cx);
    EXPECT_EQ(by_utf8.extent.cy, by_code_page.extent.cy);
    EXPECT_EQ(by_utf8.height, by_code_page.height);
    EXPECT_EQ(by_utf8.picture.rgb, by_code_page.picture.rgb);
  }
}

// Under the code page, UTF-8 bytes are Cyrillic letters of 1251: the mode
// is what changes the picture.
TEST(Utf8TextMode, IsWhatReadsTheBytesAsUtf8) {
  NoLeakedObjects guard;
  const std::string zurich = "Z\xC3\xBCrich";
  EXPECT_NE(draw(zurich, RUSSIAN_CHARSET, false).picture.rgb,
            draw(zurich, RUSSIAN_CHARSET, true).picture.rgb);
}

bool font_has(char32_t character) {
  std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)> set(FcCharSetCreate(),
                                                              &FcCharSetDestroy);
  FcCharSetAddChar(set.get(), character);
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                  &FcPatternDestroy);
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, set.get());
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FILE, nullptr), &FcObjectSetDestroy);
  FcFontSet* fonts = FcFontList(nullptr, pattern.get(), objects.get());
  const bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  return found;
}

// Pixels other than the navy cell and the black canvas.
int inked_pixels(const Picture& picture) {
  int count = 0;
  for (std::uint32_t rgb : picture.rgb) count += rgb != 0x000080 && rgb != 0;
  return count;
}

TEST(Utf8TextMode, DrawsCharactersTheFontLacksWithAFallbackFace) {
  NoLeakedObjects guard;
  if (!font_has(U'\u6771')) {
    GTEST_SKIP() << "no installed font has CJK characters (install fonts-wqy-zenhei)";
  }
  const std::string tokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // 東京
  const std::string boxes = "\xF3\xB0\x80\x80\xF3\xB0\x80\x81";  // U+F0000, U+F0001: no glyph
  const DrawnText drawn = draw(tokyo, RUSSIAN_CHARSET, true);
  const DrawnText missing = draw(boxes, RUSSIAN_CHARSET, true);
  EXPECT_NE(drawn.picture.rgb, missing.picture.rgb);
  EXPECT_GT(inked_pixels(drawn.picture), inked_pixels(missing.picture));
  // A 14-pixel cell: the em is 12 pixels, which a CJK glyph fills.
  EXPECT_GE(drawn.extent.cx, 2 * 11);
  EXPECT_LE(drawn.extent.cx, 2 * 14);
  EXPECT_EQ(drawn.extent.cy, 14);
}

TEST(Utf8TextMode, BelongsToOneThreadAndNests) {
  EXPECT_FALSE(utf8_text_mode());
  {
    Utf8Text outer;
    EXPECT_TRUE(utf8_text_mode());
    bool other_thread = true;
    std::thread([&other_thread] { other_thread = utf8_text_mode(); }).join();
    EXPECT_FALSE(other_thread);
    {
      Utf8Text inner;
      EXPECT_TRUE(utf8_text_mode());
    }
    EXPECT_TRUE(utf8_text_mode());
  }
  EXPECT_FALSE(utf8_text_mode());
}

}  // namespace
}  // namespace kestra::test
