// The picture: a new black bitmap for mode 1, its background and its frame.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "diagram/diagram.h"
#include "platform/dib_rows.h"

namespace kestra::diagram {
namespace {

// Largest picture attempted, as the platform's bitmap limit: larger pictures
// are refused before their pixel buffer is allocated.
constexpr std::int64_t max_picture_side = 32768;
constexpr std::int64_t max_picture_pixels = std::int64_t{1} << 28;

struct FreeDeleter {
  void operator()(void* memory) const { std::free(memory); }
};

}  // namespace

PictureSize picture_size(const RECT& picture) {
  return {std::int64_t{picture.right} - picture.left, std::int64_t{picture.bottom} - picture.top};
}

// A bitmap in the screen's format made from zeroed 24-bit DIB rows, so the
// picture starts black. Null when the size is not drawable or creation fails.
UniqueObject create_picture(PictureSize size) {
  if (size.width <= 0 || size.height <= 0 || size.width > max_picture_side ||
      size.height > max_picture_side || size.width * size.height > max_picture_pixels) {
    return UniqueObject();
  }
  const int width = static_cast<int>(size.width);
  const int height = static_cast<int>(size.height);
  // Rows are width x 3 bytes, padded to a multiple of 4.
  const std::size_t stride = dib_stride(width);
  std::unique_ptr<void, FreeDeleter> pixels(std::calloc(stride * static_cast<std::size_t>(height), 1));
  if (!pixels) return UniqueObject();

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: rows stored bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(height));

  const HWND window = GetForegroundWindow();
  WindowDC screen(window);
  if (!screen.get()) return UniqueObject();
  return UniqueObject(CreateDIBitmap(screen.get(), &info.bmiHeader, CBM_INIT, pixels.get(), &info,
                                     DIB_RGB_COLORS));
}

std::size_t dib_stride(int width) {
  return platform::dib_row_bytes(static_cast<std::size_t>(width), 24);
}

void fill_picture(HDC dc, Selection& selection, PictureSize size, COLORREF color) {
  selection.pen(PS_SOLID, 1, color);
  selection.solid_brush(color);
  const auto side = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  Rectangle(dc, 0, 0, side(size.width), side(size.height));
}

int hand_back_picture(HDC dc, HBITMAP* bitmap, UniqueObject& new_picture) {
  const auto current = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  if (!current) {
    *bitmap = nullptr;
    return KESTRA_NO_CURRENT_BITMAP;
  }
  *bitmap = current;
  new_picture.release();  // the caller owns it now
  return KESTRA_OK;
}

void draw_background(const Drawing& drawing, PictureSize size) {
  if (drawing.disp.fillBackground) {
    fill_picture(drawing.dc, drawing.selection, size, drawing.disp.backColor);
  }
}

void draw_outline(HDC dc, Selection& selection, const RECT& rect, COLORREF color) {
  selection.pen(PS_SOLID, 1, color);
  selection.hollow_brush();
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void draw_frame(const Drawing& drawing) {
  if (drawing.disp.drawFrame) {
    draw_outline(drawing.dc, drawing.selection, drawing.disp.rcFrame, drawing.disp.frameColor);
  }
}

}  // namespace kestra::diagram
