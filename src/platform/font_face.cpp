// Glyph rasterising and the per-face glyph cache. Glyphs are hinted and
// rasterised as Wine's GDI does with FreeType: two-colour glyphs with
// monochrome hinting, grey ones with normal hinting quantised to GDI's 17
// coverage levels.
#include "platform/font_face.h"

#include "platform/freetype_library.h"

#include FT_OUTLINE_H

namespace kestra::platform {
namespace {

// Largest glyph bitmap rasterised, in pixels; anything larger is left blank.
constexpr std::int64_t max_glyph_pixels = std::int64_t{1} << 24;

int round_26_6(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }
int floor_26_6(FT_Pos value) { return static_cast<int>(value >> 6); }
int ceil_26_6(FT_Pos value) { return static_cast<int>((value + 63) >> 6); }

// GDI measures every size with normal hinting, while drawing moves the pen
// by the advance of the glyph as drawn: at two-colour sizes the two can
// differ by a pixel (Liberation Sans 'y' at 10 px: 5 measured, 6 drawn).
int normal_advance(FT_Face face, FT_UInt index) {
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return 0;
  return round_26_6(face->glyph->advance.x);
}

// Grey coverage 0..255 to GDI's levels 0..16.
std::uint8_t grey_level(std::uint8_t value) {
  return static_cast<std::uint8_t>(value * (full_coverage + 1) / 256);
}

// Rasterises the loaded outline into the pixel box its control box covers.
void render_outline(FT_Face face, bool two_colour, Glyph& glyph) {
  FT_Outline& outline = face->glyph->outline;
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const int left = floor_26_6(box.xMin), right = ceil_26_6(box.xMax);
  const int bottom = floor_26_6(box.yMin), top = ceil_26_6(box.yMax);
  const std::int64_t width = right - left, height = top - bottom;
  if (width <= 0 || height <= 0 || width * height > max_glyph_pixels) return;

  const int pitch = two_colour ? static_cast<int>((width + 7) / 8) : static_cast<int>(width);
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(pitch * height), 0);
  FT_Bitmap bitmap{};
  bitmap.width = static_cast<unsigned>(width);
  bitmap.rows = static_cast<unsigned>(height);
  bitmap.pitch = pitch;
  bitmap.buffer = buffer.data();
  bitmap.pixel_mode = two_colour ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
  bitmap.num_grays = two_colour ? 2 : 256;
  FT_Outline_Translate(&outline, -left * 64, -bottom * 64);
  if (FT_Outline_Get_Bitmap(freetype_library(), &outline, &bitmap) != 0) return;

  glyph.left = left;
  glyph.top = top;
  glyph.width = static_cast<int>(width);
  glyph.height = static_cast<int>(height);
  glyph.coverage.resize(static_cast<std::size_t>(width * height));
  for (int y = 0; y < glyph.height; ++y) {
    const std::uint8_t* row = buffer.data() + static_cast<std::size_t>(y) * pitch;
    std::uint8_t* out = glyph.coverage.data() + static_cast<std::size_t>(y) * glyph.width;
    for (int x = 0; x < glyph.width; ++x) {
      out[x] = two_colour ? ((row[x / 8] >> (7 - x % 8)) & 1 ? full_coverage : 0)
                          : grey_level(row[x]);
    }
  }
}

}  // namespace

FontFace::FontFace(FT_FaceRec_* face, int ppem, bool two_colour, const TEXTMETRICA& metrics,
                   std::string family, const std::array<char32_t, 256>& code_page,
                   std::string file, int file_index)
    : face_(face), ppem_(ppem), metrics_(metrics), family_(std::move(family)),
      code_page_(code_page), file_(std::move(file)), file_index_(file_index),
      two_colour_(two_colour) {}

FontFace::~FontFace() { close_freetype_face(face_); }

const Glyph& FontFace::glyph(unsigned char byte) const {
  if (const Glyph* cached = glyphs_[byte].load(std::memory_order_acquire)) return *cached;
  std::lock_guard lock(mutex_);
  std::unique_ptr<const Glyph>& owned = owned_glyphs_[byte];
  if (!owned) {
    owned = std::make_unique<const Glyph>(rasterise(FT_Get_Char_Index(face_, code_page_[byte])));
    glyphs_[byte].store(owned.get(), std::memory_order_release);
  }
  return *owned;
}

const Glyph& FontFace::character_glyph(char32_t character) const {
  {
    std::lock_guard lock(mutex_);
    const auto found = characters_.find(character);
    if (found != characters_.end()) return *found->second;
  }
  // Looked for without the lock: a fallback face takes its own.
  std::optional<Glyph> glyph = own_character_glyph(character);
  if (!glyph) glyph = fallback_glyph(character);
  std::lock_guard lock(mutex_);
  if (!glyph) glyph = rasterise(0);  // the missing-glyph box
  auto& cached = characters_[character];
  if (!cached) cached = std::make_unique<const Glyph>(std::move(*glyph));
  return *cached;
}

std::optional<Glyph> FontFace::own_character_glyph(char32_t character) const {
  std::lock_guard lock(mutex_);
  const FT_UInt index = FT_Get_Char_Index(face_, character);
  if (index == 0) return std::nullopt;
  return rasterise(index);
}

// Control characters are never looked for elsewhere: no font draws them.
std::optional<Glyph> FontFace::fallback_glyph(char32_t character) const {
  if (character < 0x20 || (character >= 0x7F && character < 0xA0)) return std::nullopt;
  std::vector<std::weak_ptr<const FontFace>> known;
  {
    std::lock_guard lock(mutex_);
    known = fallbacks_;
  }
  for (const auto& weak : known) {
    if (const auto face = weak.lock()) {
      if (auto glyph = face->own_character_glyph(character)) return glyph;
    }
  }
  const std::shared_ptr<const FontFace> face = fallback_face(*this, character);
  if (!face || face.get() == this) return std::nullopt;
  {
    std::lock_guard lock(mutex_);
    std::erase_if(fallbacks_, [](const auto& weak) { return weak.expired(); });
    fallbacks_.push_back(face);
  }
  return face->own_character_glyph(character);
}

// Called with mutex_ held: the FreeType face is not thread-safe.
Glyph FontFace::rasterise(unsigned index) const {
  Glyph glyph;
  if (two_colour_) glyph.advance = normal_advance(face_, index);
  const FT_Int32 target = two_colour_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | target) != 0) return glyph;
  glyph.pen_advance = round_26_6(face_->glyph->advance.x);
  if (!two_colour_) glyph.advance = glyph.pen_advance;
  if (face_->glyph->format == FT_GLYPH_FORMAT_OUTLINE) render_outline(face_, two_colour_, glyph);
  return glyph;
}

}  // namespace kestra::platform
