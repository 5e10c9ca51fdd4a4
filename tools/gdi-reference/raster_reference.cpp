// Renders the raster scenes with real GDI (run under Wine) and saves each as
// a BMP fixture: a 4- or 8-bit palette image when it has at most 16 or 256
// colours, else 24-bit. The canvas is made as the library makes its own: a memory DC
// holding CreateDIBitmap of a zeroed 24-bit DIB on the foreground window's
// DC, read back with GetDIBits at 24 bits.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "raster_scenes.h"

namespace {

// Top-down 0x00RRGGBB pixels of a scene drawn with GDI.
std::vector<std::uint32_t> render(const raster_scenes::Scene& scene) {
  const int w = scene.width, h = scene.height;
  const int stride = (w * 3 + 3) / 4 * 4;
  std::vector<unsigned char> bits(static_cast<std::size_t>(stride) * h, 0);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HWND window = GetForegroundWindow();
  HDC screen = GetDC(window);
  HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, bits.data(), &info,
                                  DIB_RGB_COLORS);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  raster_scenes::play(dc, scene);
  SelectObject(dc, previous);
  GetDIBits(dc, bitmap, 0, h, bits.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  DeleteObject(bitmap);
  ReleaseDC(window, screen);

  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const unsigned char* row = bits.data() + static_cast<std::size_t>(stride) * (h - 1 - y);
    for (int x = 0; x < w; ++x) {
      pixels[static_cast<std::size_t>(y) * w + x] =
          (std::uint32_t{row[3 * x + 2]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) | row[3 * x];
    }
  }
  return pixels;
}

void put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// Bottom-up BMP with a 40-byte info header.
std::vector<unsigned char> encode_bmp(int w, int h, const std::vector<std::uint32_t>& pixels) {
  std::map<std::uint32_t, unsigned> palette;
  for (std::uint32_t p : pixels) palette.emplace(p, 0);
  const bool indexed = palette.size() <= 256;
  unsigned index = 0;
  for (auto& entry : palette) entry.second = index++;
  const int bits = !indexed ? 24 : palette.size() <= 16 ? 4 : 8;
  const int stride = (w * bits + 31) / 32 * 4;
  const std::uint32_t colors = indexed ? static_cast<std::uint32_t>(palette.size()) : 0;
  const std::uint32_t offset = 14 + 40 + 4 * colors;
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + static_cast<std::uint32_t>(stride) * h);
  put32(out, 0);
  put32(out, offset);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(w));
  put32(out, static_cast<std::uint32_t>(h));
  put16(out, 1);
  put16(out, static_cast<unsigned>(bits));
  put32(out, 0);
  put32(out, static_cast<std::uint32_t>(stride) * h);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, colors);
  put32(out, 0);
  for (const auto& entry : palette) {
    if (!indexed) break;
    put32(out, entry.first);  // blue, green, red, 0
  }
  for (int y = h - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * w + x];
      if (bits == 4) {
        if (x % 2 == 0) out.push_back(static_cast<unsigned char>(palette[p] << 4));
        else out.back() = static_cast<unsigned char>(out.back() | palette[p]);
      } else if (bits == 8) {
        out.push_back(static_cast<unsigned char>(palette[p]));
      } else {
        out.push_back(static_cast<unsigned char>(p));
        out.push_back(static_cast<unsigned char>(p >> 8));
        out.push_back(static_cast<unsigned char>(p >> 16));
      }
    }
    out.resize(start + static_cast<std::size_t>(stride), 0);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string directory = argc > 1 ? argv[1] : ".";
  int written = 0;
  for (const raster_scenes::Scene& scene : raster_scenes::all_scenes()) {
    const std::vector<unsigned char> bmp =
        encode_bmp(scene.width, scene.height, render(scene));
    const std::string path = directory + "/" + scene.name + ".bmp";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bmp.data(), 1, bmp.size(), file) != bmp.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      if (file) std::fclose(file);
      return 1;
    }
    std::fclose(file);
    ++written;
  }
  std::printf("%d scenes written to %s\n", written, directory.c_str());
  return 0;
}
