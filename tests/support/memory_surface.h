// Surfaces over a bitmap of their own for the tests of the surface forms:
// the library provides them on Linux, tests/support on Windows.
#pragma once

#include "kestra.h"

IDirectDrawSurface* CreateMemorySurface(int width, int height);
HBITMAP MemorySurfaceBitmap(IDirectDrawSurface* surface);
void DeleteMemorySurface(IDirectDrawSurface* surface);
