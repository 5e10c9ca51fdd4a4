// CreateDiagXLS in its three forms: read the range into a table, draw it with
// the CreateDiag form of the same target, release the table.
#include <new>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

// Owns the value array read from the workbook.
struct ReadTable {
  ~ReadTable() { FreeTabGr(&table); }
  TAB_GR table{0, 0, nullptr};
};

template <class Target>
int create_diag_xls(const char* workbook_path, const EXCEL_TAB& range, const DIAG_DISP& disp,
                    Target target, unsigned long bitmap_mode, unsigned long diagram_kind) noexcept {
  try {
    ReadTable read;
    if (const int status = read_excel_range(workbook_path, range, &read.table);
        status != KESTRA_OK) {
      return status;
    }
    return CreateDiag(read.table, disp, target, bitmap_mode, diagram_kind);
  } catch (...) {  // no exception leaves the library
    return KESTRA_INTERNAL;
  }
}

}  // namespace
}  // namespace kestra::import

int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp, HBITMAP* bitmap,
                  unsigned long bitmapMode, unsigned long diagramKind) {
  return kestra::import::create_diag_xls(workbookPath, range, disp, bitmap, bitmapMode,
                                         diagramKind);
}

int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp,
                  IDirectDrawSurface* surface, unsigned long bitmapMode,
                  unsigned long diagramKind) {
  return kestra::import::create_diag_xls(workbookPath, range, disp, surface, bitmapMode,
                                         diagramKind);
}

int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp, char* path,
                  unsigned long bitmapMode, unsigned long diagramKind) {
  return kestra::import::create_diag_xls(workbookPath, range, disp, path, bitmapMode,
                                         diagramKind);
}
