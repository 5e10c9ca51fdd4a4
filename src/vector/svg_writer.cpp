// SVG of a recording: one viewBox in picture pixels, shapes as rect and
// path elements, hatch brushes as patterns of GDI's 8 x 8 bits, texts as
// text elements holding their strings.
#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

#include "platform/hatch.h"
#include "vector/vector.h"

namespace kestra::vector {
namespace {

// Appends a number in the shortest of: a whole number, or up to three
// decimals.
void put_number(std::string& out, double value) {
  const double rounded = std::round(value * 1000) / 1000;
  char buffer[32];
  const auto [end, error] =
      rounded == std::floor(rounded) && std::fabs(rounded) < 1e15
          ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(rounded))
          : std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 3);
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  if (text.find('.') != std::string_view::npos) {
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  if (text == "-0") text = "0";
  out += text;
}

// One attribute: ` name="value"` with a number.
void put_attribute(std::string& out, std::string_view name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  put_number(out, value);
  out += '"';
}

void put_attribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  out += value;
  out += '"';
}

// Text content escaped for XML; characters XML 1.0 cannot hold (controls
// other than tab, line feed and carriage return) become U+FFFD.
void put_escaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += "\xEF\xBF\xBD";
        } else {
          out += c;
        }
    }
  }
}

void put_box(std::string& out, const BoxF& box) {
  put_attribute(out, "x", box.left);
  put_attribute(out, "y", box.top);
  put_attribute(out, "width", box.width());
  put_attribute(out, "height", box.height());
}

class SvgPainter final : public Painter {
 public:
  explicit SvgPainter(std::string& body) : body_(body) {}

  void fill(const BoxF& box, COLORREF color) override {
    body_ += "<rect";
    put_box(body_, box);
    put_attribute(body_, "fill", css_color(color));
    body_ += "/>\n";
  }

  void fill_hatch(const BoxF& box, int hatch, COLORREF color, std::optional<COLORREF> gaps) override {
    body_ += "<rect";
    put_box(body_, box);
    body_ += " fill=\"url(#";
    body_ += hatch_pattern(hatch, color, gaps);
    body_ += ")\"/>\n";
  }

  void stroke(const Stroke& stroke) override {
    body_ += "<path d=\"";
    for (std::size_t i = 0; i < stroke.points.size(); ++i) {
      body_ += i == 0 ? 'M' : 'L';
      put_number(body_, stroke.points[i].x);
      body_ += ' ';
      put_number(body_, stroke.points[i].y);
    }
    if (stroke.closed) body_ += 'Z';
    body_ += "\" fill=\"none\"";
    put_attribute(body_, "stroke", css_color(stroke.color));
    if (stroke.width != 1) put_attribute(body_, "stroke-width", stroke.width);
    if (stroke.cap == Cap::round) body_ += " stroke-linecap=\"round\"";
    if (stroke.cap == Cap::square) body_ += " stroke-linecap=\"square\"";
    if (stroke.join == Join::round) body_ += " stroke-linejoin=\"round\"";
    if (!stroke.dashes.empty()) {
      body_ += " stroke-dasharray=\"";
      for (std::size_t i = 0; i < stroke.dashes.size(); ++i) {
        if (i) body_ += ' ';
        put_number(body_, stroke.dashes[i]);
      }
      body_ += '"';
      if (stroke.dash_offset != 0) put_attribute(body_, "stroke-dashoffset", stroke.dash_offset);
    }
    body_ += "/>\n";
  }

  // The cell first when the mode is OPAQUE, the string at the baseline with
  // its reference point where the layout put it, then the prefix underline.
  // GDI's measured extent is the text's length for viewers that fit it.
  void text(const RecordedText& text, const RecordedFont& font) override {
    const double x = static_cast<double>(text.x), y = static_cast<double>(text.y);
    const BoxF cell{x, y, x + static_cast<double>(text.width), y + font.metrics.tmHeight};
    const std::string clip = clip_of(text, cell);
    if (text.background) {
      body_ += "<rect";
      put_box(body_, cell);
      put_attribute(body_, "fill", css_color(*text.background));
      put_clip(clip);
      body_ += "/>\n";
    }
    body_ += "<text";
    put_attribute(body_, "x", anchor_x(text));
    put_attribute(body_, "y", y + font.metrics.tmAscent);
    body_ += " font-family=\"";
    put_escaped(body_, font.family);
    body_ += ", sans-serif\"";
    put_attribute(body_, "font-size", font.ppem);
    if (font.metrics.tmWeight >= 600) body_ += " font-weight=\"bold\"";
    if (font.metrics.tmItalic) body_ += " font-style=\"italic\"";
    if (text.align & DT_CENTER) body_ += " text-anchor=\"middle\"";
    if (text.align & DT_RIGHT) body_ += " text-anchor=\"end\"";
    if (text.advances.size() > 1) {
      put_attribute(body_, "textLength", static_cast<double>(text.width));
      body_ += " lengthAdjust=\"spacing\"";
    }
    put_attribute(body_, "fill", css_color(text.color));
    put_clip(clip);
    body_ += '>';
    put_escaped(body_, text.utf8);
    body_ += "</text>\n";
    if (text.underline) {
      const platform::ClipBox& u = *text.underline;
      body_ += "<rect";
      put_box(body_, {double(u.left), double(u.top), double(u.right), double(u.bottom)});
      put_attribute(body_, "fill", css_color(text.color));
      put_clip(clip);
      body_ += "/>\n";
    }
  }

  const std::string& definitions() const { return defs_; }

 private:
  // The id of the pattern of a hatch brush, defined on first use: the gap
  // colour under the hatch bits, one 1 x 1 square per bit.
  std::string hatch_pattern(int hatch, COLORREF color, std::optional<COLORREF> gaps) {
    const auto key = std::make_tuple(hatch, color, gaps ? *gaps : CLR_INVALID);
    auto found = patterns_.find(key);
    if (found != patterns_.end()) return found->second;
    std::string id = "hatch" + std::to_string(patterns_.size());
    defs_ += "<pattern id=\"" + id + "\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\">";
    if (gaps) defs_ += "<rect width=\"8\" height=\"8\" fill=\"" + css_color(*gaps) + "\"/>";
    defs_ += "<path fill=\"" + css_color(color) + "\" d=\"";
    const std::size_t style = static_cast<std::size_t>(hatch);
    const platform::HatchRows& rows = platform::hatch_patterns[style < platform::hatch_patterns.size() ? style : 0];
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        if (!platform::is_hatch_pixel(rows, x, y)) continue;
        int end = x;
        while (end < 8 && platform::is_hatch_pixel(rows, end, y)) ++end;
        defs_ += "M" + std::to_string(x) + " " + std::to_string(y) + "h" +
                 std::to_string(end - x) + "v1h-" + std::to_string(end - x) + "z";
        x = end;
      }
    }
    defs_ += "\"/></pattern>\n";
    patterns_.emplace(key, id);
    return id;
  }

  // A clip path for a text whose cell reaches outside its clip rectangle;
  // empty when nothing needs clipping.
  std::string clip_of(const RecordedText& text, const BoxF& cell) {
    if (!text.clip) return {};
    const platform::ClipBox& c = *text.clip;
    const BoxF box{double(c.left), double(c.top), double(c.right), double(c.bottom)};
    const bool inside = cell.left >= box.left && cell.right <= box.right && cell.top >= box.top &&
                        cell.bottom <= box.bottom;
    if (inside && !text.underline) return {};
    const auto key = std::make_tuple(c.left, c.top, c.right, c.bottom);
    auto found = clips_.find(key);
    if (found != clips_.end()) return found->second;
    std::string id = "clip" + std::to_string(clips_.size());
    defs_ += "<clipPath id=\"" + id + "\"><rect";
    put_box(defs_, box);
    defs_ += "/></clipPath>\n";
    clips_.emplace(key, id);
    return id;
  }

  void put_clip(const std::string& clip) {
    if (!clip.empty()) body_ += " clip-path=\"url(#" + clip + ")\"";
  }

  std::string& body_;
  std::string defs_;
  std::map<std::tuple<int, COLORREF, COLORREF>, std::string> patterns_;
  std::map<std::tuple<platform::Coord, platform::Coord, platform::Coord, platform::Coord>, std::string>
      clips_;
};

}  // namespace

std::string write_svg(const Recording& recording, canvas::PictureSize size, double scale) {
  std::string body;
  body.reserve(recording.ops.size() * 80 + 256);
  SvgPainter painter(body);
  paint_recording(recording, size, painter);
  std::string out;
  out.reserve(body.size() + painter.definitions().size() + 512);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  put_attribute(out, "width", static_cast<double>(size.width) * scale);
  put_attribute(out, "height", static_cast<double>(size.height) * scale);
  out += " viewBox=\"0 0 ";
  put_number(out, static_cast<double>(size.width));
  out += ' ';
  put_number(out, static_cast<double>(size.height));
  out += "\" xml:space=\"preserve\">\n";
  if (!painter.definitions().empty()) {
    out += "<defs>\n";
    out += painter.definitions();
    out += "</defs>\n";
  }
  out += body;
  out += "</svg>\n";
  return out;
}

}  // namespace kestra::vector
