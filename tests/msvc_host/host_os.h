// What the host needs from its system beyond kestra.h: whole-file writes,
// text on standard output, and surfaces it owns. host_os.cpp serves Linux
// (the C library and the library's memory surfaces), host_os_win32.cpp a
// Windows build without any C runtime.
#pragma once

#include "kestra.h"

namespace host_os {

// Writes `size` bytes as the file `name` in the working folder.
bool write_file(const char* name, const void* bytes, unsigned size);
void print(const char* text);

// A surface of `width` x `height` black pixels over a bitmap of its own
// (at most one at a time), the bitmap, and its release.
IDirectDrawSurface* make_surface(int width, int height);
HBITMAP surface_bitmap(IDirectDrawSurface* surface);
void free_surface(IDirectDrawSurface* surface);

}  // namespace host_os

// The host's program; its status is the process's exit code.
int host_main();
