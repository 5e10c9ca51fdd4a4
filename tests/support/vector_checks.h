// Test helpers for vector pictures: SVG rendered by librsvg (rsvg-convert),
// PDF read by poppler (pdftotext, pdftoppm), PNG files read by cairo, and
// the comparison of a rendering with the exact bitmap: every pixel matches
// a pixel at most one away, outside the boxes of texts.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kestra::test {

// Pixels 0x00RRGGBB, top-down.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline std::optional<Image> load_png(const std::string& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> owned(surface,
                                                                           &cairo_surface_destroy);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  Image image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < image.width; ++x) image.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return image;
}

// What a command prints on its standard output; exit status in *status.
inline std::string command_output(const std::string& command, int* status) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  if (!pipe) {
    *status = -1;
    return out;
  }
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, n);
  *status = pclose(pipe.release());
  return out;
}

inline std::string quoted(const std::string& path) { return "'" + path + "'"; }

// The SVG file rendered by librsvg at its own size.
inline std::optional<Image> render_svg(const std::string& svg_path, const TempDir& dir) {
  const std::string png = dir.file("rendered-svg.png");
  int status = 0;
  command_output("rsvg-convert -o " + quoted(png) + " " + quoted(svg_path) + " 2>&1", &status);
  if (status != 0) return std::nullopt;
  return load_png(png);
}

// The first page of a PDF rendered by poppler at 96 pixels to the inch.
inline std::optional<Image> render_pdf(const std::string& pdf_path, const TempDir& dir) {
  const std::string stem = dir.file("rendered-pdf");
  int status = 0;
  command_output("pdftoppm -r 96 -png -singlefile " + quoted(pdf_path) + " " + quoted(stem) + " 2>&1",
                 &status);
  if (status != 0) return std::nullopt;
  return load_png(stem + ".png");
}

// The text of a PDF as poppler extracts it.
inline std::string pdf_text(const std::string& pdf_path) {
  int status = 0;
  return command_output("pdftotext " + quoted(pdf_path) + " - 2>&1", &status);
}

inline std::string xml_unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities) {
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
      text.replace(at, std::string(entity).size(), character);
  }
  return text;
}

// A text element of an SVG: its string and the box its glyphs may cover.
struct SvgText {
  std::string text;
  double left, top, right, bottom;
};

// Every <text> of an SVG as this writer spells it: x, y (the baseline),
// font-size, optional text-anchor and textLength.
inline std::vector<SvgText> svg_texts(const std::string& svg) {
  std::vector<SvgText> texts;
  const std::regex element("<text([^>]*)>([^<]*)</text>");
  const auto number = [](const std::string& attributes, const std::string& name, double otherwise) {
    std::smatch match;
    if (!std::regex_search(attributes, match, std::regex(" " + name + "=\"([-0-9.]+)\""))) return otherwise;
    return std::stod(match[1]);
  };
  for (std::sregex_iterator it(svg.begin(), svg.end(), element), end; it != end; ++it) {
    const std::string attributes = (*it)[1];
    const double size = number(attributes, "font-size", 0);
    const double x = number(attributes, "x", 0), y = number(attributes, "y", 0);
    const std::string text = xml_unescaped((*it)[2]);
    const double length = number(attributes, "textLength", size * static_cast<double>(text.size()));
    double left = x;
    if (attributes.find("text-anchor=\"middle\"") != std::string::npos) left = x - length / 2;
    if (attributes.find("text-anchor=\"end\"") != std::string::npos) left = x - length;
    texts.push_back({text, left - 3, y - size - 2, left + length + 3, y + size * 0.35 + 2});
  }
  return texts;
}

// Where `drawn` strays from `exact` by more than a pixel: the pixels of
// either picture with no pixel of like colour at most one away in the other
// ("like": no channel apart by more than half the range, which an
// anti-aliased edge between two colours never is), and the first of them.
// Pixels inside a text's box are left out.
struct StrayPixels {
  std::size_t count = 0;
  std::string first;  // empty when the pictures agree
};

inline StrayPixels stray_pixels(const Image& exact, const Image& drawn,
                                const std::vector<SvgText>& texts) {
  if (exact.width != drawn.width || exact.height != drawn.height) {
    return {exact.pixels.size(), "sizes differ: " + std::to_string(exact.width) + "x" +
                                     std::to_string(exact.height) + " and " +
                                     std::to_string(drawn.width) + "x" + std::to_string(drawn.height)};
  }
  const auto alike = [](std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift <= 16; shift += 8) {
      const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
      if (d > 128 || d < -128) return false;
    }
    return true;
  };
  const auto in_text = [&texts](int x, int y) {
    for (const SvgText& t : texts) {
      if (x + 1 >= t.left && x <= t.right && y + 1 >= t.top && y <= t.bottom) return true;
    }
    return false;
  };
  const auto matched = [&](const Image& from, const Image& in, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int qx = x + dx, qy = y + dy;
        if (qx >= 0 && qy >= 0 && qx < in.width && qy < in.height && alike(from.at(x, y), in.at(qx, qy)))
          return true;
      }
    }
    return false;
  };
  StrayPixels stray;
  for (int y = 0; y < exact.height; ++y) {
    for (int x = 0; x < exact.width; ++x) {
      if (in_text(x, y)) continue;
      for (const auto& [from, in, name] :
           {std::tuple{&exact, &drawn, "exact"}, std::tuple{&drawn, &exact, "drawn"}}) {
        if (matched(*from, *in, x, y)) continue;
        if (stray.count++ == 0) {
          std::ostringstream where;
          where << name << " pixel (" << x << ", " << y << ") = " << std::hex << from->at(x, y)
                << " has no match within a pixel";
          stray.first = where.str();
        }
        break;
      }
    }
  }
  return stray;
}

inline std::string first_stray_pixel(const Image& exact, const Image& drawn,
                                     const std::vector<SvgText>& texts) {
  return stray_pixels(exact, drawn, texts).first;
}

}  // namespace kestra::test
