// Not available in this build yet: surface and file targets.
#include "kestra.h"

int CreateDiag(TAB_GR, DIAG_DISP, IDirectDrawSurface*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateDiag(TAB_GR, DIAG_DISP, char*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateGraph(char*, OPTION_RECT, IDirectDrawSurface*, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateGraph(char*, OPTION_RECT, char*, unsigned long) { return KESTRA_NOT_IMPLEMENTED; }

IDirectDrawSurface* CreateMemorySurface(int, int) { return nullptr; }
HBITMAP MemorySurfaceBitmap(IDirectDrawSurface*) { return nullptr; }
void DeleteMemorySurface(IDirectDrawSurface*) {}
