// Not available in this build yet: diagrams from HTML tables.
#include "kestra.h"

int CreateDiagHTML(char*, DIAG_DISP, HBITMAP*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateDiagHTML(char*, DIAG_DISP, IDirectDrawSurface*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateDiagHTML(char*, DIAG_DISP, char*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
