// The surface and file forms of CreateDiag and CreateGraph: each checks what
// its own form must check, then hands its bitmap form to the shared targets.
#include "model/exports.h"
#include "output/output.h"

namespace kestra::output {
namespace {

Renderer diagram_renderer(const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind) {
  return [&table, &disp, kind](HBITMAP* bitmap, unsigned long mode) {
    return CreateDiag(table, disp, bitmap, mode, kind);
  };
}

Renderer graph_renderer(char* expression, const OPTION_RECT& options) {
  return [expression, &options](HBITMAP* bitmap, unsigned long mode) {
    return CreateGraph(expression, options, bitmap, mode);
  };
}

// A surface is an existing picture: only mode 2 is accepted.
int diagram_surface_refusal(unsigned long mode) {
  if (mode == 0) return KESTRA_MODE_ZERO;
  if (mode == mode_new) return KESTRA_SURFACE_MODE_NEW;
  if (mode != mode_over) return KESTRA_MODE_UNKNOWN;
  return KESTRA_OK;
}

// The plot forms test the font height between the mode's validity and its value.
int graph_surface_refusal(unsigned long mode, int font_height) {
  if (mode == 0) return KESTRA_MODE_ZERO;
  if (mode != mode_new && mode != mode_over) return KESTRA_MODE_UNKNOWN;
  if (font_height < 1 || font_height > 99) return KESTRA_BAD_FONT_HEIGHT;
  if (mode == mode_new) return KESTRA_SURFACE_MODE_NEW;
  return KESTRA_OK;
}

}  // namespace
}  // namespace kestra::output

using kestra::model::guarded;
using namespace kestra::output;

int CreateDiag(TAB_GR table, DIAG_DISP disp, IDirectDrawSurface* surface,
               unsigned long bitmapMode, unsigned long diagramKind) {
  return guarded([&] {
    if (const int refusal = diagram_surface_refusal(bitmapMode & 7)) return refusal;
    return copy_to_surface(diagram_renderer(table, disp, diagramKind), disp.rcPlot, surface);
  });
}

int CreateDiag(TAB_GR table, DIAG_DISP disp, char* path, unsigned long bitmapMode,
               unsigned long diagramKind) {
  return guarded([&] {
    return save_to_file(diagram_renderer(table, disp, diagramKind), disp.rcPicture, path,
                        bitmapMode);
  });
}

int CreateGraph(char* expression, OPTION_RECT options, IDirectDrawSurface* surface,
                unsigned long bitmapMode) {
  return guarded([&] {
    if (const int refusal = graph_surface_refusal(bitmapMode & 7, options.fontHeight)) {
      return refusal;
    }
    return copy_to_surface(graph_renderer(expression, options), options.rcPlot, surface);
  });
}

int CreateGraph(char* expression, OPTION_RECT options, char* path, unsigned long bitmapMode) {
  return guarded([&] {
    return save_to_file(graph_renderer(expression, options), options.rcPicture, path, bitmapMode);
  });
}
