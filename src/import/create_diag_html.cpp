// CreateDiagHTML: the first table of an HTML file drawn by the CreateDiag form
// of the same target; the table is released whatever the drawing returns.
#include "import/html_table.h"

namespace kestra::import {
namespace {

// Owns the values of a table read from a file.
class TableValues {
 public:
  explicit TableValues(TAB_GR& table) : table_(table) {}
  ~TableValues() { FreeTabGr(&table_); }
  TableValues(const TableValues&) = delete;
  TableValues& operator=(const TableValues&) = delete;

 private:
  TAB_GR& table_;
};

template <class Target>
int create_diag_html(const char* path, const DIAG_DISP& disp, Target target, unsigned long mode,
                     unsigned long kind) {
  try {
    TAB_GR table{};
    if (const int status = ReadHtmlTable(path, &table)) return status;
    const TableValues owner(table);
    return CreateDiag(table, disp, target, mode, kind);
  } catch (...) {  // no exception leaves the library
    return KESTRA_INTERNAL;
  }
}

}  // namespace
}  // namespace kestra::import

int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, HBITMAP* bitmap, unsigned long bitmapMode,
                   unsigned long diagramKind) {
  return kestra::import::create_diag_html(htmlPath, disp, bitmap, bitmapMode, diagramKind);
}

int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, IDirectDrawSurface* surface,
                   unsigned long bitmapMode, unsigned long diagramKind) {
  return kestra::import::create_diag_html(htmlPath, disp, surface, bitmapMode, diagramKind);
}

int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, char* path, unsigned long bitmapMode,
                   unsigned long diagramKind) {
  return kestra::import::create_diag_html(htmlPath, disp, path, bitmapMode, diagramKind);
}
