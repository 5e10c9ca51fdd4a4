// Pen and brush objects.
#include "platform/gdi_objects.h"

using namespace kestra::platform;

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_NULL) return nullptr;
  return static_cast<HPEN>(ObjectTable::instance().add(
      std::make_shared<Pen>(style, width < 0 ? 0 : width, color & 0xFFFFFF)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(ObjectTable::instance().add(
      std::make_shared<Brush>(Brush::Fill::solid, 0, color & 0xFFFFFF)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  return static_cast<HBRUSH>(ObjectTable::instance().add(
      std::make_shared<Brush>(Brush::Fill::hatch, hatch, color & 0xFFFFFF)));
}
