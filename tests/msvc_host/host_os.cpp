// The host's system on Linux: stdio and the library's memory surfaces.
#include "host_os.h"

#include <cstdio>

namespace host_os {

bool write_file(const char* name, const void* bytes, unsigned size) {
  std::FILE* file = std::fopen(name, "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

void print(const char* text) { std::fputs(text, stdout); }

IDirectDrawSurface* make_surface(int width, int height) {
  return CreateMemorySurface(width, height);
}

HBITMAP surface_bitmap(IDirectDrawSurface* surface) { return MemorySurfaceBitmap(surface); }

void free_surface(IDirectDrawSurface* surface) { DeleteMemorySurface(surface); }

}  // namespace host_os

int main() { return host_main(); }
