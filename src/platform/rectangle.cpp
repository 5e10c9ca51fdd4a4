// Placeholder until the rectangle rasteriser lands.
#include "platform/gdi_objects.h"

using namespace kestra::platform;

BOOL Rectangle(HDC dc, int, int, int, int) { return dc_of(dc) ? TRUE : FALSE; }
