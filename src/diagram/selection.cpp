// The objects the diagram selects into its device context, the pen style
// codes, and text output into a rectangle.
#include "diagram/diagram.h"

namespace kestra::diagram {

int pen_style(std::int32_t code) {
  switch (code) {
    case 2: return PS_DOT;
    case 3: return PS_DASH;
    case 4: return PS_DASHDOT;
    case 5: return PS_DASHDOTDOT;
    default: return PS_SOLID;  // 1, and codes without a style of their own
  }
}

Selection::~Selection() {
  for (HGDIOBJ original : original_) {
    if (original) SelectObject(dc_, original);
  }
}

void Selection::select(Kind kind, HGDIOBJ object, bool owned) {
  UniqueObject guard(owned ? object : nullptr);
  if (!object) return;
  HGDIOBJ previous = SelectObject(dc_, object);
  if (!previous) return;
  if (!original_[kind]) original_[kind] = previous;
  // The object it replaces is deleted here, now that the DC no longer holds it.
  current_[kind] = std::move(guard);
}

void Selection::pen(int style, int width, COLORREF color) {
  select(kind_pen, CreatePen(style, width, color), true);
}

void Selection::solid_brush(COLORREF color) {
  select(kind_brush, CreateSolidBrush(color), true);
}

void Selection::hatch_brush(int hatch, COLORREF color) {
  select(kind_brush, CreateHatchBrush(hatch, color), true);
}

void Selection::hollow_brush() { select(kind_brush, GetStockObject(NULL_BRUSH), false); }

// The diagram font: Arial of the given cell height, normal weight, Cyrillic
// character set, variable pitch.
void Selection::font(int height) {
  select(kind_font,
         CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "arial"),
         true);
}

void draw_text(HDC dc, std::string_view text, RECT rect, UINT flags) {
  if (text.empty()) return;  // an empty text paints nothing
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, flags);
}

}  // namespace kestra::diagram
