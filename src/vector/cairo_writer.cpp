// PDF, PNG and BMP of a recording through cairo: the PDF surface embeds the
// fonts and keeps texts as text; the image surface draws anti-aliased, or
// with hard edges. Glyphs stand where the layer put them.
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <tuple>

#include "platform/hatch.h"
#include "vector/vector.h"

namespace kestra::vector {
namespace {

// PDF pages are measured in points: 96 picture pixels to the inch.
constexpr double points_per_pixel = 72.0 / 96.0;

struct DestroyCairo {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
  void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
};
using Context = std::unique_ptr<cairo_t, DestroyCairo>;
using Surface = std::unique_ptr<cairo_surface_t, DestroyCairo>;
using Pattern = std::unique_ptr<cairo_pattern_t, DestroyCairo>;
using FontOptions = std::unique_ptr<cairo_font_options_t, DestroyCairo>;

void check(cairo_status_t status) {
  if (status == CAIRO_STATUS_NO_MEMORY) throw std::bad_alloc();
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(cairo_status_to_string(status));
}

// Faces of font files, made once per file and face index for the process.
cairo_font_face_t* font_face(const RecordedFont& font) {
  static std::mutex mutex;
  static std::map<std::pair<std::string, int>, cairo_font_face_t*> faces;
  std::lock_guard lock(mutex);
  const auto key = std::make_pair(font.file, font.file_index);
  auto found = faces.find(key);
  if (found != faces.end()) return found->second;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                  &FcPatternDestroy);
  if (!pattern) throw std::bad_alloc();
  FcPatternAddString(pattern.get(), FC_FILE, reinterpret_cast<const FcChar8*>(font.file.c_str()));
  FcPatternAddInteger(pattern.get(), FC_INDEX, font.file_index);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern.get());
  check(cairo_font_face_status(face));
  faces.emplace(key, face);
  return face;
}

void set_color(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                       GetBValue(color) / 255.0);
}

void fill_box(cairo_t* cr, const BoxF& box) {
  cairo_rectangle(cr, box.left, box.top, box.width(), box.height());
  cairo_fill(cr);
}

// The code points of UTF-8 text (the recording writes it, so it is valid)
// and the bytes each takes.
std::vector<std::pair<char32_t, int>> code_points(const std::string& utf8) {
  std::vector<std::pair<char32_t, int>> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
    out.emplace_back(c, length);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

class CairoPainter final : public Painter {
 public:
  explicit CairoPainter(cairo_t* cr) : cr_(cr) {}

  void fill(const BoxF& box, COLORREF color) override {
    set_color(cr_, color);
    fill_box(cr_, box);
  }

  void fill_hatch(const BoxF& box, int hatch, COLORREF color, std::optional<COLORREF> gaps) override {
    cairo_set_source(cr_, hatch_pattern(hatch, color, gaps));
    fill_box(cr_, box);
  }

  void stroke(const Stroke& stroke) override {
    cairo_new_path(cr_);
    for (const PointF& p : stroke.points) cairo_line_to(cr_, p.x, p.y);
    if (stroke.closed) cairo_close_path(cr_);
    cairo_set_line_width(cr_, stroke.width);
    cairo_set_line_cap(cr_, stroke.cap == Cap::round    ? CAIRO_LINE_CAP_ROUND
                            : stroke.cap == Cap::square ? CAIRO_LINE_CAP_SQUARE
                                                        : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, stroke.join == Join::round ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    cairo_set_dash(cr_, stroke.dashes.data(), static_cast<int>(stroke.dashes.size()), stroke.dash_offset);
    set_color(cr_, stroke.color);
    cairo_stroke(cr_);
  }

  // The opaque cell, the glyphs at the layer's pen positions (with the
  // text, so a PDF keeps it), the prefix underline; all inside the clip.
  void text(const RecordedText& text, const RecordedFont& font) override {
    cairo_save(cr_);
    if (text.clip) {
      const platform::ClipBox& c = *text.clip;
      cairo_rectangle(cr_, double(c.left), double(c.top), double(c.right - c.left),
                      double(c.bottom - c.top));
      cairo_clip(cr_);
    }
    const double x = static_cast<double>(text.x), y = static_cast<double>(text.y);
    if (text.background) {
      set_color(cr_, *text.background);
      fill_box(cr_, {x, y, x + static_cast<double>(text.width), y + font.metrics.tmHeight});
    }
    cairo_set_font_face(cr_, font_face(font));
    cairo_set_font_size(cr_, font.ppem);
    show_glyphs(text, x, y + font.metrics.tmAscent);
    if (text.underline) {
      const platform::ClipBox& u = *text.underline;
      fill_box(cr_, {double(u.left), double(u.top), double(u.right), double(u.bottom)});
    }
    cairo_restore(cr_);
  }

 private:
  void show_glyphs(const RecordedText& text, double x, double baseline) {
    const auto characters = code_points(text.utf8);
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    cairo_scaled_font_t* scaled = cairo_get_scaled_font(cr_);
    FT_Face face = cairo_ft_scaled_font_lock_face(scaled);
    if (!face) return;
    double pen = x;
    for (std::size_t i = 0; i < characters.size(); ++i) {
      glyphs.push_back({FT_Get_Char_Index(face, characters[i].first), pen, baseline});
      clusters.push_back({characters[i].second, 1});
      if (i < text.advances.size()) pen += text.advances[i];
    }
    cairo_ft_scaled_font_unlock_face(scaled);
    set_color(cr_, text.color);
    cairo_show_text_glyphs(cr_, text.utf8.data(), static_cast<int>(text.utf8.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), clusters.data(),
                           static_cast<int>(clusters.size()), cairo_text_cluster_flags_t{});
  }

  // GDI's 8 x 8 bits as a repeating tile of squares in user space, whose
  // origin is the picture's: the brush stays tied to it at any scale, and a
  // PDF keeps it as vectors.
  cairo_pattern_t* hatch_pattern(int hatch, COLORREF color, std::optional<COLORREF> gaps) {
    const auto key = std::make_tuple(hatch, color, gaps ? *gaps : CLR_INVALID);
    auto found = patterns_.find(key);
    if (found != patterns_.end()) return found->second.get();
    const cairo_rectangle_t tile{0, 0, 8, 8};
    Surface bits(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &tile));
    check(cairo_surface_status(bits.get()));
    {
      Context cr(cairo_create(bits.get()));
      cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
      if (gaps) {
        set_color(cr.get(), *gaps);
        cairo_paint(cr.get());
      }
      const std::size_t style = static_cast<std::size_t>(hatch);
      const platform::HatchRows& rows =
          platform::hatch_patterns[style < platform::hatch_patterns.size() ? style : 0];
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          if (platform::is_hatch_pixel(rows, x, y)) cairo_rectangle(cr.get(), x, y, 1, 1);
        }
      }
      set_color(cr.get(), color);
      cairo_fill(cr.get());
      check(cairo_status(cr.get()));
    }
    Pattern pattern(cairo_pattern_create_for_surface(bits.get()));
    check(cairo_pattern_status(pattern.get()));
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_NEAREST);
    return patterns_.emplace(key, std::move(pattern)).first->second.get();
  }

  cairo_t* cr_;
  std::map<std::tuple<int, COLORREF, COLORREF>, Pattern> patterns_;
};

void paint(cairo_t* cr, const Recording& recording, canvas::PictureSize size, double scale) {
  cairo_scale(cr, scale, scale);
  CairoPainter painter(cr);
  paint_recording(recording, size, painter);
  check(cairo_status(cr));
}


std::string write_pdf(const Recording& recording, canvas::PictureSize size, double scale) {
  std::string out;
  const double points = points_per_pixel * scale;
  Surface surface(cairo_pdf_surface_create_for_stream(append_to_string, &out,
                                                      static_cast<double>(size.width) * points,
                                                      static_cast<double>(size.height) * points));
  check(cairo_surface_status(surface.get()));
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "kestra");
  {
    Context cr(cairo_create(surface.get()));
    paint(cr.get(), recording, size, points);
  }
  cairo_surface_finish(surface.get());
  check(cairo_surface_status(surface.get()));
  return out;
}

// The picture drawn on an image of its size times the scale, white where
// nothing is drawn (every picture paints its whole area: a background, or
// black).
std::string write_image(const Recording& recording, canvas::PictureSize size,
                        const PictureOptions& options) {
  const int width = static_cast<int>(std::ceil(static_cast<double>(size.width) * options.scale));
  const int height = static_cast<int>(std::ceil(static_cast<double>(size.height) * options.scale));
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  check(cairo_surface_status(surface.get()));
  {
    Context cr(cairo_create(surface.get()));
    cairo_set_antialias(cr.get(), options.smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    FontOptions fonts(cairo_font_options_create());
    cairo_font_options_set_antialias(fonts.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(fonts.get(), CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(fonts.get(), CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr.get(), fonts.get());
    paint(cr.get(), recording, size, options.scale);
  }
  cairo_surface_flush(surface.get());
  // RGB24 rows are 32-bit pixels 0x00RRGGBB, `stride` bytes apart.
  const int stride = cairo_image_surface_get_stride(surface.get());
  const auto* data = cairo_image_surface_get_data(surface.get());
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::copy(row, row + width, pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  return encode_pixels(pixels.data(), width, height, options.format);
}

}  // namespace

std::string write_with_cairo(const Recording& recording, canvas::PictureSize size,
                             const PictureOptions& options) {
  if (options.format == PictureFormat::pdf) return write_pdf(recording, size, options.scale);
  return write_image(recording, size, options);
}

}  // namespace kestra::vector
