// Records how real GDI measures and draws text, for the platform layer's text
// tests: metrics, character widths and extents per height, glyph pictures,
// DrawTextA placement and clipping summaries, and '&' prefix pictures.
// Built with mingw and run under Wine by text_reference.sh.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// The diagram font: only the height varies.
HFONT create_font(int height) {
  return CreateFontA(height, 0, 0, 0, 400, 0, 0, 0, 204, 0, 0, 0, 2, "arial");
}

// A memory DC holding a black screen-format bitmap made from a zeroed DIB.
struct Canvas {
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  Canvas(int w, int h) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(GetForegroundWindow());
    std::vector<unsigned char> zero(static_cast<size_t>((w * 3 + 3) / 4 * 4) * h);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, zero.data(), &info,
                            DIB_RGB_COLORS);
    ReleaseDC(GetForegroundWindow(), screen);
    previous = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  // Pixels top-down as 0xRRGGBB, read back through a 24-bit DIB.
  std::vector<unsigned> pixels() const {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
    std::vector<unsigned> out(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      const unsigned char* row = bits.data() + static_cast<size_t>(height - 1 - y) * stride;
      for (int x = 0; x < width; ++x)
        out[static_cast<size_t>(y) * width + x] =
            (row[x * 3 + 2] << 16) | (row[x * 3 + 1] << 8) | row[x * 3];
    }
    return out;
  }
};

// Bounding box, count and FNV-1a hash of the non-black pixels.
std::string summary(const Canvas& canvas) {
  const std::vector<unsigned> px = canvas.pixels();
  int left = canvas.width, top = canvas.height, right = -1, bottom = -1, count = 0;
  unsigned hash = 2166136261u;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const unsigned p = px[static_cast<size_t>(y) * canvas.width + x];
      for (int shift = 16; shift >= 0; shift -= 8) hash = (hash ^ ((p >> shift) & 0xFF)) * 16777619u;
      if (!p) continue;
      ++count;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      if (y > bottom) bottom = y;
    }
  }
  char text[96];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %08x", left, top, right, bottom, count, hash);
  return text;
}

// The picture as a palette (colour per letter) and rows of letters, '.'
// for black; rows and columns outside the non-black bounding box are left out.
void write_picture(FILE* out, const Canvas& canvas) {
  const std::vector<unsigned> px = canvas.pixels();
  int left = canvas.width, top = canvas.height, right = -1, bottom = -1;
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x)
      if (px[static_cast<size_t>(y) * canvas.width + x]) {
        if (x < left) left = x;
        if (x > right) right = x;
        if (y < top) top = y;
        if (y > bottom) bottom = y;
      }
  std::map<unsigned, char> palette;
  std::vector<unsigned> order;
  for (unsigned p : px)
    if (p && !palette.count(p)) {
      palette[p] = 0;
      order.push_back(p);
    }
  std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  fprintf(out, "box %d %d %d %d\npalette", left, top, right, bottom);
  for (size_t i = 0; i < order.size() && i < letters.size(); ++i) {
    palette[order[i]] = letters[i];
    fprintf(out, " %c%06x", letters[i], order[i]);
  }
  fprintf(out, "\n");
  for (int y = top; y <= bottom; ++y) {
    std::string row;
    for (int x = left; x <= right; ++x) {
      const unsigned p = px[static_cast<size_t>(y) * canvas.width + x];
      row += p ? palette[p] : '.';
    }
    fprintf(out, "%s\n", row.c_str());
  }
  fprintf(out, "end\n");
}

// Texts as escaped bytes, so the data files stay ASCII.
std::string escape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    char hex[8];
    if (c < 0x21 || c > 0x7E || c == '\\') {
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

const char* const privet = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in CP1251

void write_metrics(FILE* out) {
  const std::vector<std::string> texts = {"0", "7.50", "Category", "Value axis", privet,
                                          "10.00", "-2.50", "Sales & costs", "WWW iii",
                                          "\xC0\xE1\xE2\xE3 \xFF\xA8\xB8"};
  Canvas canvas(8, 8);
  for (int h = -20; h <= 40; ++h) {
    HFONT font = create_font(h);
    HGDIOBJ old = SelectObject(canvas.dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(canvas.dc, &tm);
    char face[64] = {};
    GetTextFaceA(canvas.dc, sizeof face, face);
    fprintf(out, "metrics %d %ld %ld %ld %ld %ld %ld %ld %ld %ld %d %d %d %d %d %d %s\n", h,
            tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading, tm.tmExternalLeading,
            tm.tmAveCharWidth, tm.tmMaxCharWidth, tm.tmWeight, tm.tmOverhang, tm.tmFirstChar,
            tm.tmLastChar, tm.tmDefaultChar, tm.tmBreakChar, tm.tmPitchAndFamily, tm.tmCharSet,
            escape(face).c_str());
    INT widths[256] = {};
    GetCharWidth32A(canvas.dc, 0, 255, widths);
    if (h == 10) {
      char small[5] = {};
      const int full = GetTextFaceA(canvas.dc, sizeof face, face);
      const int none = GetTextFaceA(canvas.dc, 0, nullptr);
      const int cut = GetTextFaceA(canvas.dc, sizeof small, small);
      fprintf(out, "face %d %d %d %s\n", full, none, cut, escape(small).c_str());
    }
    fprintf(out, "widths %d", h);
    for (int c = 32; c < 256; ++c) fprintf(out, " %d", widths[c]);
    fprintf(out, "\n");
    for (const std::string& text : texts) {
      SIZE size{};
      GetTextExtentPoint32A(canvas.dc, text.c_str(), static_cast<int>(text.size()), &size);
      fprintf(out, "extent %d %ld %ld %s\n", h, size.cx, size.cy, escape(text).c_str());
    }
    SelectObject(canvas.dc, old);
    DeleteObject(font);
  }
}

// TextOutA of sample texts, white on black, then two colour pairs in opaque
// mode (the blend of grey levels with a coloured background).
void write_glyphs(FILE* out) {
  struct Colours { COLORREF text, back; int mode; };
  const Colours colours[] = {{RGB(255, 255, 255), 0, TRANSPARENT},
                             {RGB(255, 255, 0), RGB(0, 0, 255), OPAQUE},
                             {RGB(30, 90, 200), RGB(250, 240, 120), OPAQUE}};
  const std::vector<std::string> texts = {"Category 7.50 Ag", std::string(privet) + " %@"};
  for (int h = 6; h <= 32; ++h) {
    for (size_t t = 0; t < texts.size(); ++t) {
      for (size_t c = 0; c < 3; ++c) {
        if ((c > 0 || h > 20) && t > 0) continue;
        if (c > 0 && h != 8 && h != 12 && h != 24) continue;
        Canvas canvas(40 + 12 * h, 8 + 2 * h);
        HFONT font = create_font(h);
        HGDIOBJ old = SelectObject(canvas.dc, font);
        SetTextColor(canvas.dc, colours[c].text);
        SetBkColor(canvas.dc, colours[c].back);
        SetBkMode(canvas.dc, colours[c].mode);
        TextOutA(canvas.dc, 3, 2, texts[t].c_str(), static_cast<int>(texts[t].size()));
        fprintf(out, "glyphs %d %06lx %06lx %d %s\n", h, colours[c].text, colours[c].back,
                colours[c].mode, escape(texts[t]).c_str());
        write_picture(out, canvas);
        SelectObject(canvas.dc, old);
        DeleteObject(font);
      }
    }
  }
}

// DrawTextA placement and clipping: every flag set, both background modes,
// rectangles normal, narrow, inverted and partly off the canvas.
void write_layout(FILE* out) {
  const UINT flag_sets[] = {DT_SINGLELINE, DT_SINGLELINE | DT_CENTER, DT_SINGLELINE | DT_VCENTER,
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER,
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP,
                            DT_SINGLELINE | DT_RIGHT | DT_BOTTOM};
  const RECT rects[] = {{10, 10, 150, 40}, {30, 5, 61, 26}, {150, 40, 10, 10},
                        {11, 41, 151, 9}, {-20, -5, 81, 20}, {95, 30, 25, 52}};
  const std::string texts[] = {"Value 7.50", privet};
  for (int h = 8; h <= 20; ++h) {
    HFONT font = create_font(h);
    for (UINT flags : flag_sets) {
      for (int mode : {TRANSPARENT, OPAQUE}) {
        for (size_t r = 0; r < sizeof rects / sizeof rects[0]; ++r) {
          const std::string& text = texts[r % 2];
          Canvas canvas(200, 60);
          HGDIOBJ old = SelectObject(canvas.dc, font);
          SetTextColor(canvas.dc, RGB(255, 255, 255));
          SetBkColor(canvas.dc, RGB(0, 0, 128));
          SetBkMode(canvas.dc, mode);
          RECT rect = rects[r];
          const int result = DrawTextA(canvas.dc, text.c_str(), -1, &rect, flags);
          fprintf(out, "layout %d %u %d %ld %ld %ld %ld %s %d %s\n", h, flags, mode,
                  rects[r].left, rects[r].top, rects[r].right, rects[r].bottom,
                  escape(text).c_str(), result, summary(canvas).c_str());
          SelectObject(canvas.dc, old);
        }
      }
    }
    DeleteObject(font);
  }
}

// '&' prefixes: DrawTextA with and without DT_NOPREFIX, pictures kept; the
// centred cases are opaque, to show the cell of the shown text.
void write_prefixes(FILE* out) {
  const std::string texts[] = {"&File", "Save && Exit", "A&", "a&b&c", "&&&x", "R&D \xCF&\xF0"};
  for (int h : {8, 10, 14, 20}) {
    HFONT font = create_font(h);
    for (const std::string& text : texts) {
      for (UINT flags : {UINT{DT_SINGLELINE}, UINT{DT_SINGLELINE | DT_NOPREFIX},
                         UINT{DT_SINGLELINE | DT_CENTER | DT_VCENTER}}) {
        Canvas canvas(140, 40);
        HGDIOBJ old = SelectObject(canvas.dc, font);
        SetTextColor(canvas.dc, RGB(255, 255, 255));
        SetBkColor(canvas.dc, RGB(0, 0, 128));
        SetBkMode(canvas.dc, (flags & DT_CENTER) ? OPAQUE : TRANSPARENT);
        RECT rect = {4, 4, 130, 36};
        const int result = DrawTextA(canvas.dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        fprintf(out, "prefix %d %u %s %d\n", h, flags, escape(text).c_str(), result);
        write_picture(out, canvas);
        SelectObject(canvas.dc, old);
      }
    }
    DeleteObject(font);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: text_reference OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  struct Part { const char* name; void (*write)(FILE*); };
  const Part parts[] = {{"metrics.txt", write_metrics}, {"glyphs.txt", write_glyphs},
                        {"layout.txt", write_layout}, {"prefix.txt", write_prefixes}};
  for (const Part& part : parts) {
    FILE* out = fopen((dir + "/" + part.name).c_str(), "wb");
    if (!out) return 1;
    part.write(out);
    fclose(out);
  }
  return 0;
}
