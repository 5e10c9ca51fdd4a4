// Device contexts, object selection and deletion, stock objects and the
// background and text colour state.
#include "platform/gdi_objects.h"
#include "platform/no_throw.h"

namespace kestra::platform {
namespace {

constexpr int default_bitmap_index = 100;

struct StockObjects {
  StockObjects() {
    auto& table = ObjectTable::instance();
    table.add_stock(WHITE_BRUSH, std::make_shared<Brush>(Brush::Fill::solid, 0, RGB(255, 255, 255)));
    table.add_stock(BLACK_BRUSH, std::make_shared<Brush>(Brush::Fill::solid, 0, RGB(0, 0, 0)));
    table.add_stock(NULL_BRUSH, std::make_shared<Brush>(Brush::Fill::hollow, 0, 0));
    table.add_stock(WHITE_PEN, std::make_shared<Pen>(PS_SOLID, 1, RGB(255, 255, 255)));
    table.add_stock(BLACK_PEN, std::make_shared<Pen>(PS_SOLID, 1, RGB(0, 0, 0)));
    table.add_stock(NULL_PEN, std::make_shared<Pen>(PS_NULL, 1, 0));
    table.add_stock(SYSTEM_FONT, std::make_shared<Font>(nullptr));
    // The 1x1 bitmap a new memory DC holds; drawing on it changes nothing.
    table.add_stock(default_bitmap_index, std::make_shared<Bitmap>(1, 1));
  }
};

void* stock_handle(int index) {
  static const StockObjects created;
  switch (index) {
    case WHITE_BRUSH: case BLACK_BRUSH: case NULL_BRUSH: case WHITE_PEN: case BLACK_PEN:
    case NULL_PEN: case SYSTEM_FONT: case default_bitmap_index:
      return reinterpret_cast<void*>(std::uintptr_t{0x1000} + static_cast<std::uintptr_t>(index));
    default:
      return nullptr;
  }
}

// Installs the default objects of a new device context.
void select_defaults(DeviceContext& dc) {
  dc.bitmap_handle = static_cast<HBITMAP>(stock_handle(default_bitmap_index));
  const auto pen = static_cast<HPEN>(stock_handle(BLACK_PEN));
  select_pen(dc, pen, lookup<Pen>(pen));
  const auto brush = static_cast<HBRUSH>(stock_handle(WHITE_BRUSH));
  select_brush(dc, brush, lookup<Brush>(brush));
  dc.font_handle = static_cast<HFONT>(stock_handle(SYSTEM_FONT));
  dc.font = lookup<Font>(dc.font_handle);
}

HDC new_dc(bool is_memory) {
  auto dc = std::make_shared<DeviceContext>();
  dc->is_memory = is_memory;
  select_defaults(*dc);
  return static_cast<HDC>(ObjectTable::instance().add(std::move(dc)));
}

HGDIOBJ select_bitmap(DeviceContext& dc, HDC dc_handle, HGDIOBJ handle) {
  if (!dc.is_memory) return nullptr;
  const bool is_default = handle == stock_handle(default_bitmap_index);
  auto bitmap = lookup<Bitmap>(handle);
  if (!bitmap) return nullptr;
  if (!is_default && bitmap->selected_into && bitmap->selected_into != dc_handle) return nullptr;
  HGDIOBJ previous = dc.bitmap_handle;
  if (dc.bitmap) dc.bitmap->selected_into = nullptr;
  dc.bitmap_handle = static_cast<HBITMAP>(handle);
  dc.bitmap = is_default ? nullptr : bitmap;
  if (dc.bitmap) dc.bitmap->selected_into = dc_handle;
  return previous;
}

void release_bitmap(DeviceContext& dc) {
  if (dc.bitmap) dc.bitmap->selected_into = nullptr;
  dc.bitmap.reset();
}

}  // namespace
}  // namespace kestra::platform

using namespace kestra::platform;

HDC CreateCompatibleDC(HDC reference) {
  return or_failure<HDC>(nullptr, [&]() -> HDC {
    if (reference && !dc_of(reference)) return nullptr;
    return new_dc(true);
  });
}

BOOL DeleteDC(HDC dc) {
  auto context = dc_of(dc);
  if (!context) return FALSE;
  release_bitmap(*context);
  return ObjectTable::instance().remove(dc) ? TRUE : FALSE;
}

HWND GetForegroundWindow() { return reinterpret_cast<HWND>(std::uintptr_t{1}); }

HDC GetDC(HWND window) {
  return or_failure<HDC>(nullptr, [&]() -> HDC {
    if (window && window != GetForegroundWindow()) return nullptr;
    return new_dc(false);
  });
}

int ReleaseDC(HWND, HDC dc) {
  auto context = dc_of(dc);
  if (!context || context->is_memory) return 0;
  return ObjectTable::instance().remove(dc) ? 1 : 0;
}

HGDIOBJ GetStockObject(int index) { return stock_handle(index); }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle) {
  auto context = dc_of(dc);
  auto object = context ? ObjectTable::instance().find(handle) : nullptr;
  if (!object) return nullptr;
  switch (object->kind) {
    case ObjectKind::bitmap:
      return select_bitmap(*context, dc, handle);
    case ObjectKind::pen:
      return select_pen(*context, static_cast<HPEN>(handle), std::static_pointer_cast<Pen>(object));
    case ObjectKind::brush:
      return select_brush(*context, static_cast<HBRUSH>(handle),
                          std::static_pointer_cast<Brush>(object));
    case ObjectKind::font: {
      HGDIOBJ previous = context->font_handle;
      context->font_handle = static_cast<HFONT>(handle);
      context->font = std::static_pointer_cast<Font>(object);
      return previous;
    }
    default:
      return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ handle) {
  auto& table = ObjectTable::instance();
  if (table.is_stock(handle)) return TRUE;  // stock objects are never deleted
  auto object = table.find(handle);
  if (!object || object->kind == ObjectKind::dc || object->kind == ObjectKind::metafile) return FALSE;
  // A bitmap selected into a device context cannot be deleted.
  if (object->kind == ObjectKind::bitmap &&
      std::static_pointer_cast<Bitmap>(object)->selected_into) {
    return FALSE;
  }
  return table.remove(handle) ? TRUE : FALSE;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  auto context = dc_of(dc);
  if (!context) return nullptr;
  switch (type) {
    case OBJ_BITMAP: return context->bitmap_handle;
    case OBJ_PEN: return context->pen_handle;
    case OBJ_BRUSH: return context->brush_handle;
    case OBJ_FONT: return context->font_handle;
    default: return nullptr;
  }
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
  auto bitmap = lookup<Bitmap>(handle);
  if (!bitmap) return 0;
  if (!buffer) return static_cast<int>(sizeof(BITMAP));
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  BITMAP info{};
  info.bmWidth = bitmap->width;
  info.bmHeight = bitmap->height;
  info.bmWidthBytes = bitmap->width * 4;
  info.bmPlanes = 1;
  info.bmBitsPixel = 32;
  *static_cast<BITMAP*>(buffer) = info;
  return static_cast<int>(sizeof(BITMAP));
}

int SetBkMode(HDC dc, int mode) {
  auto context = dc_of(dc);
  if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = context->bk_mode;
  context->bk_mode = mode;
  return previous;
}

int GetBkMode(HDC dc) {
  auto context = dc_of(dc);
  return context ? context->bk_mode : 0;
}

namespace {

// Stores a colour of the device context and answers the previous one.
COLORREF replace_colour(HDC dc, COLORREF DeviceContext::*member, COLORREF color) {
  auto context = dc_of(dc);
  if (!context) return CLR_INVALID;
  const COLORREF previous = (*context).*member;
  (*context).*member = color & 0xFFFFFF;
  return previous;
}

}  // namespace

COLORREF SetBkColor(HDC dc, COLORREF color) {
  return replace_colour(dc, &DeviceContext::bk_color, color);
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  return replace_colour(dc, &DeviceContext::text_color, color);
}
