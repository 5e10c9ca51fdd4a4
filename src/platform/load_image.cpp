// Placeholder until BMP loading lands.
#include "platform/gdi_objects.h"

HANDLE LoadImageA(HINSTANCE, LPCSTR, UINT, int, int, UINT) { return nullptr; }
