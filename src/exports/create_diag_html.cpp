// CreateDiagHTML: the first table of an HTML file drawn by the CreateDiag form
// of the same target; the table is released whatever the drawing returns.
#include "exports/contract.h"
#include "import/import.h"

namespace kestra::exports {
namespace {

template <class Target>
int create_diag_html(const char* path, const DIAG_DISP& disp, Target target, unsigned long mode,
                     unsigned long kind) {
  return draw_read_table([path](TAB_GR* table) { return import::ReadHtmlTable(path, table); },
                                disp, target, mode, kind);
}

}  // namespace
}  // namespace kestra::exports

int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, HBITMAP* bitmap, unsigned long bitmapMode,
                   unsigned long diagramKind) {
  return kestra::exports::create_diag_html(htmlPath, disp, bitmap, bitmapMode, diagramKind);
}

int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, IDirectDrawSurface* surface,
                   unsigned long bitmapMode, unsigned long diagramKind) {
  return kestra::exports::create_diag_html(htmlPath, disp, surface, bitmapMode, diagramKind);
}

int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, char* path, unsigned long bitmapMode,
                   unsigned long diagramKind) {
  return kestra::exports::create_diag_html(htmlPath, disp, path, bitmapMode, diagramKind);
}
