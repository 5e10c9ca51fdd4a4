// Placeholder until the line rasteriser lands.
#include "platform/gdi_objects.h"

using namespace kestra::platform;

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  auto context = dc_of(dc);
  if (!context) return FALSE;
  if (previous) *previous = context->position;
  context->position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  auto context = dc_of(dc);
  if (!context) return FALSE;
  context->position = {x, y};
  return TRUE;
}
