// Reading the real-GDI text reference (tests/data/platform/text, written by
// tools/gdi-reference/text_reference.cpp under Wine) and comparing pictures.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/canvas.h"

namespace kestra::test {

// The diagram font at one height.
inline HFONT diagram_font(int height) {
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0,
                     VARIABLE_PITCH, "arial");
}

// Selects a font for a scope and deletes it afterwards.
class SelectedFont {
 public:
  SelectedFont(HDC dc, int height) : dc_(dc), font_(diagram_font(height)) {
    previous_ = SelectObject(dc_, font_);
  }
  ~SelectedFont() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  HFONT handle() const { return font_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

inline std::vector<std::string> reference_lines(const std::string& name) {
  std::ifstream in(std::string(KESTRA_TEST_DATA) + "/platform/text/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Texts are stored with bytes outside printable ASCII as \xNN.
inline std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A picture as 0xRRGGBB values, top-down.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

inline Picture capture(const Canvas& canvas) {
  Picture picture{canvas.width(), canvas.height(), {}};
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const COLORREF c = canvas.at(x, y);
      picture.rgb.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
  }
  return picture;
}

// Reads a "box / palette / rows / end" block starting at lines[at] into a
// black picture of the given size; `at` moves past the block.
inline Picture read_picture(const std::vector<std::string>& lines, std::size_t& at, int width,
                            int height) {
  Picture picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  int left = 0, top = 0, right = -1, bottom = -1;
  std::sscanf(lines.at(at++).c_str(), "box %d %d %d %d", &left, &top, &right, &bottom);
  std::map<char, std::uint32_t> palette;
  std::istringstream entries(lines.at(at++).substr(7));
  for (std::string entry; entries >> entry;)
    palette[entry[0]] = static_cast<std::uint32_t>(std::strtoul(entry.c_str() + 1, nullptr, 16));
  for (int y = top; y <= bottom; ++y) {
    const std::string& row = lines.at(at++);
    for (int x = left; x <= right; ++x)
      if (row.at(x - left) != '.') picture.rgb[static_cast<std::size_t>(y) * width + x] = palette[row[x - left]];
  }
  ++at;  // "end"
  return picture;
}

struct Difference {
  int pixels = 0;       // pixels that differ
  int max_channel = 0;  // largest difference of one channel
};

inline Difference compare(const Picture& a, const Picture& b) {
  Difference d;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) {
    if (a.rgb[i] == b.rgb[i]) continue;
    ++d.pixels;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int delta = std::abs(static_cast<int>((a.rgb[i] >> shift) & 0xFF) -
                                 static_cast<int>((b.rgb[i] >> shift) & 0xFF));
      if (delta > d.max_channel) d.max_channel = delta;
    }
  }
  return d;
}

// Rows of a picture as text ('.' black, '#' other), marking differences
// from a reference with 'R' (reference only) and 'O' (ours only) or 'X'.
inline std::string diff_art(const Picture& ours, const Picture& reference) {
  std::string art;
  for (int y = 0; y < ours.height; ++y) {
    for (int x = 0; x < ours.width; ++x) {
      const std::uint32_t o = ours.at(x, y), r = reference.at(x, y);
      art += o == r ? (o ? '#' : '.') : (!o ? 'R' : !r ? 'O' : 'X');
    }
    art += '\n';
  }
  return art;
}

// Bounding box of the non-black pixels, their count and the FNV-1a hash of
// the whole picture: "left top right bottom count hash".
inline std::string summary(const Picture& picture) {
  int left = picture.width, top = picture.height, right = -1, bottom = -1, count = 0;
  std::uint32_t hash = 2166136261u;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t p = picture.at(x, y);
      for (int shift = 16; shift >= 0; shift -= 8) hash = (hash ^ ((p >> shift) & 0xFF)) * 16777619u;
      if (!p) continue;
      ++count;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  char text[96];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %08x", left, top, right, bottom, count, hash);
  return text;
}

// Heights GDI draws two-colour for the diagram font (gasp: no smoothing).
inline bool two_colour_height(int height) { return height >= 10 && height <= 19; }

}  // namespace kestra::test
