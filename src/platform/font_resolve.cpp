// From a CreateFontA request to a sized face: the font file (font_match.h),
// the pixel size and text metrics by GDI's rules, and a cache so that equal
// requests share one face and its glyphs.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "platform/code_pages.h"
#include "platform/font_face.h"
#include "platform/font_match.h"
#include "platform/freetype_library.h"

#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

namespace kestra::platform {
namespace {

// GDI's height when a font asks for 0.
constexpr int default_cell_height = 16;
// Larger sizes are clamped: one cached glyph grows with the square of it.
constexpr int max_ppem = 512;
// Faces kept for reuse beyond those fonts still hold.
constexpr std::size_t max_cached_faces = 64;

std::string lower_case(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// a * b / c rounded half away from zero, as GDI's MulDiv.
std::int64_t mul_div(std::int64_t a, std::int64_t b, std::int64_t c) {
  const std::int64_t product = a * b;
  const std::int64_t half = c / 2;
  return product >= 0 ? (product + half) / c : (product - half) / c;
}

// The vertical extent GDI sizes a cell by, in font units: the OS/2 Windows
// ascent and descent, or hhea's when those are zero.
struct CellSpan {
  int ascent;
  int descent;
  int total() const { return ascent + descent; }
};

CellSpan cell_span(const TT_OS2* os2, const TT_HoriHeader* hhea) {
  if (os2 && os2->usWinAscent + os2->usWinDescent != 0)
    return {os2->usWinAscent, os2->usWinDescent};
  return {hhea->Ascender, -hhea->Descender};
}

// A positive height is the cell height: GDI takes the largest em size whose
// cell, rounded, still fits it (13 and 14 both give 12 px for Liberation
// Sans). A negative height is the em size itself.
int ppem_for_height(int height, int units_per_em, const CellSpan& span) {
  if (height == 0) height = default_cell_height;
  std::int64_t ppem = -static_cast<std::int64_t>(height);
  if (height > 0) {
    ppem = mul_div(units_per_em, height, span.total());
    while (ppem > 1 && mul_div(ppem, span.total(), units_per_em) > height) --ppem;
  }
  return static_cast<int>(std::clamp<std::int64_t>(ppem, 1, max_ppem));
}

// Pitch and family byte: TrueType vector font, variable pitch (set bit), and
// the family from the PANOSE classification.
BYTE pitch_and_family(FT_Face face, const TT_OS2* os2) {
  constexpr BYTE variable_pitch = 0x01, vector = 0x02, truetype = 0x04;
  constexpr BYTE roman = 0x10, swiss = 0x20, modern = 0x30, script = 0x40;
  BYTE family = 0;
  if (FT_IS_FIXED_WIDTH(face)) {
    family = modern;
  } else if (os2 && os2->panose[0] == 3) {
    family = script;
  } else if (os2 && os2->panose[1] >= 11 && os2->panose[1] <= 13) {
    family = swiss;
  } else if (os2 && os2->panose[1] > 1) {
    family = roman;
  }
  return static_cast<BYTE>(family | truetype | vector | (FT_IS_FIXED_WIDTH(face) ? 0 : variable_pitch));
}

TEXTMETRICA text_metrics(FT_Face face, int ppem, const FontRequest& request) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const CellSpan span = cell_span(os2, hhea);
  // Font units to pixels with a 16.16 scale, rounding as FreeType's MulFix.
  const std::int64_t em_scale = mul_div(ppem, 1 << 16, face->units_per_EM);
  auto scale = [em_scale](std::int64_t units) {
    return static_cast<LONG>(mul_div(units, em_scale, 1 << 16));
  };
  const int hhea_span = hhea->Ascender - hhea->Descender;
  TEXTMETRICA tm{};
  tm.tmAscent = scale(span.ascent);
  tm.tmDescent = scale(span.descent);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = scale(span.total() - face->units_per_EM);
  tm.tmExternalLeading = std::max<LONG>(0, scale(hhea->Line_Gap - (span.total() - hhea_span)));
  tm.tmAveCharWidth = std::max<LONG>(1, os2 ? scale(os2->xAvgCharWidth) : 0);
  tm.tmMaxCharWidth = scale(face->bbox.xMax - face->bbox.xMin);
  tm.tmWeight = request.weight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x1e;
  tm.tmLastChar = 0xff;
  tm.tmDefaultChar = 0x1f;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = request.italic ? 1 : 0;
  tm.tmPitchAndFamily = pitch_and_family(face, os2);
  tm.tmCharSet = static_cast<BYTE>(request.charset == DEFAULT_CHARSET ? ANSI_CHARSET : request.charset);
  return tm;
}

// The gasp table's flags for a size; without a table GDI smooths every size.
bool gasp_wants_two_colour(FT_Face face, int ppem) {
  constexpr unsigned gasp_do_grey = 0x0002;
  FT_ULong length = 0;
  if (FT_Load_Sfnt_Table(face, TTAG_gasp, 0, nullptr, &length) != 0 || length < 4) return false;
  std::string table(length, '\0');
  auto* bytes = reinterpret_cast<FT_Byte*>(table.data());
  if (FT_Load_Sfnt_Table(face, TTAG_gasp, 0, bytes, &length) != 0) return false;
  auto u16 = [bytes](std::size_t at) { return static_cast<unsigned>(bytes[at] << 8 | bytes[at + 1]); };
  const std::size_t ranges = u16(2);
  for (std::size_t i = 0; i < ranges && 4 + 4 * i + 4 <= length; ++i) {
    if (static_cast<unsigned>(ppem) <= u16(4 + 4 * i)) return (u16(6 + 4 * i) & gasp_do_grey) == 0;
  }
  return false;
}

std::shared_ptr<const FontFace> load_face(const FontFile& file, int height,
                                          const FontRequest& request) {
  FT_Face face = open_freetype_face(file.path, file.index);
  if (!face) return nullptr;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (!FT_IS_SCALABLE(face) || !hhea || face->units_per_EM == 0) {
    close_freetype_face(face);
    return nullptr;
  }
  const int ppem = ppem_for_height(height, face->units_per_EM, cell_span(os2, hhea));
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0) {
    close_freetype_face(face);
    return nullptr;
  }
  const auto& code_page = code_page_table(code_page_of_charset(request.charset));
  return std::make_shared<const FontFace>(face, ppem, gasp_wants_two_colour(face, ppem),
                                          text_metrics(face, ppem, request), file.family,
                                          code_page, file.path, file.index);
}

class FaceCache {
 public:
  std::shared_ptr<const FontFace> get(const FontRequest& request) {
    std::lock_guard lock(mutex_);
    const std::optional<FontFile>& file = font_file(request);
    if (!file) return nullptr;
    return face_of_file(*file, request);
  }

  // A face of the file fontconfig chooses for a character `face` lacks, at
  // the same em: the characters of both match in size. fontconfig is asked
  // under the lock, as for every other match.
  std::shared_ptr<const FontFace> get_for_character(const FontFace& face, char32_t character) {
    const TEXTMETRICA& metrics = face.metrics();
    FontRequest request;
    request.height = -face.ppem();
    request.weight = metrics.tmWeight;
    request.italic = metrics.tmItalic != 0;
    std::lock_guard lock(mutex_);
    const auto file = match_font_file(face.family(), request.weight, request.italic, character);
    if (!file) return nullptr;
    request.face_name = file->family;
    return face_of_file(*file, request);
  }

 private:
  using FileKey = std::tuple<std::string, int, bool>;
  using FaceKey = std::tuple<std::string, int, int, int, bool, DWORD>;

  std::shared_ptr<const FontFace> face_of_file(const FontFile& file, const FontRequest& request) {
    const FaceKey key{file.path, file.index, request.height, request.weight, request.italic,
                      request.charset};
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second;
    std::shared_ptr<const FontFace> face = load_face(file, request.height, request);
    if (face) {
      drop_unused_faces();
      faces_.emplace(key, face);
    }
    return face;
  }

  const std::optional<FontFile>& font_file(const FontRequest& request) {
    const FileKey key{lower_case(request.face_name), request.weight, request.italic};
    auto found = files_.find(key);
    if (found == files_.end())
      found = files_.emplace(key, match_font_file(request.face_name, request.weight, request.italic)).first;
    return found->second;
  }

  // Keeps the cache bounded: faces no font holds any more are dropped once
  // the cache is full.
  void drop_unused_faces() {
    if (faces_.size() < max_cached_faces) return;
    std::erase_if(faces_, [](const auto& entry) { return entry.second.use_count() == 1; });
  }

  std::mutex mutex_;
  std::map<FileKey, std::optional<FontFile>> files_;
  std::map<FaceKey, std::shared_ptr<const FontFace>> faces_;
};

FaceCache& face_cache() {
  static FaceCache cache;
  return cache;
}

}  // namespace

std::shared_ptr<const FontFace> resolve_font(const FontRequest& request) {
  return face_cache().get(request);
}

std::shared_ptr<const FontFace> fallback_face(const FontFace& face, char32_t character) {
  return face_cache().get_for_character(face, character);
}

// GDI's system font is a bold sans-serif face with a 16-pixel cell.
std::shared_ptr<const FontFace> default_font_face() {
  FontRequest request;
  request.height = default_cell_height;
  request.weight = 700;  // FW_BOLD
  request.face_name = "sans-serif";
  return resolve_font(request);
}

}  // namespace kestra::platform
