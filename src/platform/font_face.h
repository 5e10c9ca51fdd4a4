// Resolved, sized font faces and their cached glyphs: what CreateFontA hands
// to the Font object and what the text routines measure and draw with.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "kestra_win32.h"

struct FT_FaceRec_;

namespace kestra::platform {

// Coverage of a glyph pixel in GDI's 17 levels: 0 untouched, 16 full text
// colour. Two-colour glyphs use only 0 and 16.
constexpr int full_coverage = 16;

// One rasterised glyph, placed relative to the pen on the baseline.
struct Glyph {
  int advance = 0;      // pixels, hinted normally: what measuring reports
  int pen_advance = 0;  // pixels, hinted as drawn: how far drawing moves on
  int left = 0;     // bitmap column 0 relative to the pen
  int top = 0;      // bitmap row 0, pixels above the baseline
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height levels, top-down
};

struct FontRequest {
  int height = 0;  // > 0 cell height, < 0 character (em) height, 0 default
  int weight = FW_NORMAL;  // 1 to 1000
  bool italic = false;
  DWORD charset = ANSI_CHARSET;
  std::string face_name;
};

// A face at one pixel size and code page. Shared by every font that asks for
// the same thing; thread-safe.
class FontFace {
 public:
  // Takes ownership of a FreeType face already sized to ppem, loaded from
  // face `file_index` of the font file at `file`.
  FontFace(FT_FaceRec_* face, int ppem, bool two_colour, const TEXTMETRICA& metrics,
           std::string family, const std::array<char32_t, 256>& code_page, std::string file,
           int file_index);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const TEXTMETRICA& metrics() const { return metrics_; }
  const std::string& family() const { return family_; }
  // The font file the face comes from, and the face's index in it: what a
  // vector writer embeds or names to show the same glyphs.
  const std::string& file() const { return file_; }
  int file_index() const { return file_index_; }
  int ppem() const { return ppem_; }
  // Whether glyphs are two-colour (the font's gasp table asks for no
  // smoothing at this size) rather than grey.
  bool two_colour() const { return two_colour_; }

  // The glyph of one byte of text in the face's code page, rasterised on
  // first use and cached for the life of the face.
  const Glyph& glyph(unsigned char byte) const;

  // The glyph of a Unicode character: the face's own, else that of the face
  // fontconfig picks for the character at the same em size, else the face's
  // missing-glyph box. Cached for the life of the face.
  const Glyph& character_glyph(char32_t character) const;

  // The face's own glyph of the character, or nothing when it has none.
  std::optional<Glyph> own_character_glyph(char32_t character) const;

  // The character a byte stands for in the face's code page (0 where the
  // code page leaves it undefined): the decoding glyph() draws by.
  char32_t code_page_character(unsigned char byte) const { return code_page_[byte]; }

 private:
  Glyph rasterise(unsigned /* FT_UInt */ index) const;
  std::optional<Glyph> fallback_glyph(char32_t character) const;

  FT_FaceRec_* face_;  // FreeType faces are not thread-safe: rasterised under mutex_
  int ppem_;
  TEXTMETRICA metrics_;
  std::string family_;
  const std::array<char32_t, 256>& code_page_;
  std::string file_;
  int file_index_;
  bool two_colour_;
  mutable std::mutex mutex_;
  // Each glyph is stored once, under mutex_, and read without it afterwards.
  mutable std::array<std::unique_ptr<const Glyph>, 256> owned_glyphs_;
  mutable std::array<std::atomic<const Glyph*>, 256> glyphs_ = {};
  mutable std::unordered_map<char32_t, std::unique_ptr<const Glyph>> characters_;
  // Faces that drew earlier missing characters, tried first; not owned, so
  // two faces that stand in for each other form no cycle.
  mutable std::vector<std::weak_ptr<const FontFace>> fallbacks_;
};

// The shared face for a request, or null when no font file can be found or
// loaded. Equal requests return the same face.
std::shared_ptr<const FontFace> resolve_font(const FontRequest& request);

// The face fontconfig picks to draw `character` where `face` lacks it, at
// the same em size, weight and slant; null when no installed font has it.
std::shared_ptr<const FontFace> fallback_face(const FontFace& face, char32_t character);

// The face a font handle without one (the stock SYSTEM_FONT) draws with.
std::shared_ptr<const FontFace> default_font_face();

}  // namespace kestra::platform
