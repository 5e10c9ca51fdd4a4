// The surface and file forms of CreateDiag and CreateGraph: each checks what
// its own form must check, then hands its bitmap form to the shared targets.
#include "exports/contract.h"
#include "output/output.h"

namespace kestra::exports {
namespace {

using output::Renderer;

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
int surface_mode_status(unsigned long mode) {
  if (const int status = mode_status(mode)) return status;
  return mode == KESTRA_DRAW_NEW ? KESTRA_SURFACE_MODE_NEW : KESTRA_OK;
}

// The plot forms test the font height between the mode's validity and its value.
int graph_surface_status(unsigned long mode, int font_height) {
  if (const int status = mode_status(mode)) return status;
  if (const int status = font_height_status(font_height)) return status;
  return surface_mode_status(mode);
}

}  // namespace
}  // namespace kestra::exports

using namespace kestra::exports;
using kestra::output::copy_to_surface;
using kestra::output::save_to_file;

int CreateDiag(TAB_GR table, DIAG_DISP disp, IDirectDrawSurface* surface,
               unsigned long bitmapMode, unsigned long diagramKind) {
  return guarded([&] {
    if (const int refusal = surface_mode_status(bitmap_mode(bitmapMode))) return refusal;
    return copy_to_surface(diagram_renderer(table, disp, diagramKind), disp.rcPlot, surface);
  });
}

int CreateDiag(TAB_GR table, DIAG_DISP disp, char* path, unsigned long bitmapMode,
               unsigned long diagramKind) {
  return guarded([&] {
    return save_to_file(diagram_renderer(table, disp, diagramKind), disp.rcPicture, path,
                        bitmap_mode(bitmapMode));
  });
}

int CreateGraph(char* expression, OPTION_RECT options, IDirectDrawSurface* surface,
                unsigned long bitmapMode) {
  return guarded([&] {
    if (const int refusal = graph_surface_status(bitmap_mode(bitmapMode), options.fontHeight)) {
      return refusal;
    }
    return copy_to_surface(graph_renderer(expression, options), options.rcPlot, surface);
  });
}

int CreateGraph(char* expression, OPTION_RECT options, char* path, unsigned long bitmapMode) {
  return guarded([&] {
    return save_to_file(graph_renderer(expression, options), options.rcPicture, path,
                        bitmap_mode(bitmapMode));
  });
}
