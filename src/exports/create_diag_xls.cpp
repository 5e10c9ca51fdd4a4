// CreateDiagXLS in its three forms: read the range into a table, draw it with
// the CreateDiag form of the same target, release the table.
#include "exports/contract.h"
#include "import/import.h"

namespace kestra::exports {
namespace {

template <class Target>
int create_diag_xls(const char* workbook_path, const EXCEL_TAB& range, const DIAG_DISP& disp,
                    Target target, unsigned long bitmap_mode, unsigned long diagram_kind) {
  return draw_read_table(
      [&](TAB_GR* table) { return import::read_excel_range(workbook_path, range, table); }, disp,
      target, bitmap_mode, diagram_kind);
}

}  // namespace
}  // namespace kestra::exports

int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp, HBITMAP* bitmap,
                  unsigned long bitmapMode, unsigned long diagramKind) {
  return kestra::exports::create_diag_xls(workbookPath, range, disp, bitmap, bitmapMode,
                                         diagramKind);
}

int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp,
                  IDirectDrawSurface* surface, unsigned long bitmapMode,
                  unsigned long diagramKind) {
  return kestra::exports::create_diag_xls(workbookPath, range, disp, surface, bitmapMode,
                                         diagramKind);
}

int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp, char* path,
                  unsigned long bitmapMode, unsigned long diagramKind) {
  return kestra::exports::create_diag_xls(workbookPath, range, disp, path, bitmapMode,
                                         diagramKind);
}
