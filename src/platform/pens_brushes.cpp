// Pen and brush objects.
#include "platform/gdi_objects.h"
#include "platform/no_throw.h"

using namespace kestra::platform;

HPEN CreatePen(int style, int width, COLORREF color) {
  return or_failure<HPEN>(nullptr, [&]() -> HPEN {
    if (style < PS_SOLID || style > PS_NULL) return nullptr;
    return static_cast<HPEN>(ObjectTable::instance().add(
        std::make_shared<Pen>(style, width < 0 ? 0 : width, color & 0xFFFFFF)));
  });
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return or_failure<HBRUSH>(nullptr, [&]() -> HBRUSH {
    return static_cast<HBRUSH>(ObjectTable::instance().add(
        std::make_shared<Brush>(Brush::Fill::solid, 0, color & 0xFFFFFF)));
  });
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  return or_failure<HBRUSH>(nullptr, [&]() -> HBRUSH {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    return static_cast<HBRUSH>(ObjectTable::instance().add(
        std::make_shared<Brush>(Brush::Fill::hatch, hatch, color & 0xFFFFFF)));
  });
}
