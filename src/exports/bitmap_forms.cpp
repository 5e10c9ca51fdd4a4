// The bitmap forms of CreateDiag and CreateGraph: the export checks, in the
// order the exports make them, in front of the renderers.
#include "diagram/diagram.h"
#include "exports/contract.h"
#include "plot/plot.h"

using namespace kestra::exports;

int CreateDiag(TAB_GR table, DIAG_DISP disp, HBITMAP* bitmap, unsigned long bitmapMode,
               unsigned long diagramKind) {
  return guarded([&] {
    const unsigned long mode = bitmap_mode(bitmapMode);
    if (const int status = mode_status(mode)) return status;
    return kestra::diagram::create_diag(table, disp, bitmap, mode, diagramKind);
  });
}

int CreateGraph(char* expression, OPTION_RECT options, HBITMAP* bitmap, unsigned long bitmapMode) {
  return guarded([&] {
    const unsigned long mode = bitmap_mode(bitmapMode);
    if (const int status = mode_status(mode)) return status;
    if (const int status = font_height_status(options.fontHeight)) return status;
    return kestra::plot::create_graph(expression, options, bitmap, mode);
  });
}
