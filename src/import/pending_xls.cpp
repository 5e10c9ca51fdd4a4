// Not available in this build yet: diagrams from spreadsheet ranges.
#include "kestra.h"

int CreateDiagXLS(char*, EXCEL_TAB, DIAG_DISP, HBITMAP*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateDiagXLS(char*, EXCEL_TAB, DIAG_DISP, IDirectDrawSurface*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
int CreateDiagXLS(char*, EXCEL_TAB, DIAG_DISP, char*, unsigned long, unsigned long) {
  return KESTRA_NOT_IMPLEMENTED;
}
