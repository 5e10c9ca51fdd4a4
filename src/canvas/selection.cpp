// The pen, brush and font a renderer keeps selected in its device context.
#include "canvas/canvas.h"

namespace kestra::canvas {

Selection::~Selection() {
  for (HGDIOBJ original : original_) {
    if (original) SelectObject(dc_, original);
  }
}

void Selection::select(Kind kind, HGDIOBJ object, bool owned) {
  UniqueObject guard(owned ? object : nullptr);
  if (!object) throw DrawingFailed();
  HGDIOBJ previous = SelectObject(dc_, object);
  if (!previous) throw DrawingFailed();
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

void Selection::font(int height) {
  select(kind_font,
         CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "arial"),
         true);
}

}  // namespace kestra::canvas
