// kestra vector pictures: a diagram or a plot as SVG, PDF, or a PNG or BMP
// at any scale, smooth or with hard pixel edges.
//
// The records are the ones CreateDiag and CreateGraph take, drawn by the
// same drawing code onto a recording device context instead of a bitmap, so
// every format shows the same layout as the exact bitmap: shapes cover the
// same pixels at scale 1, texts stay texts (SVG <text>, PDF text with the
// font embedded). A scale multiplies every coordinate, width and font
// height. Pictures are always new pictures (mode KESTRA_DRAW_NEW); the
// statuses are the bitmap form's in that mode, in the same order: 1009 for a
// bad table, 1006 for a refused expression, 1007 for a plot font height
// outside 1 to 99, 1015 for sampling that cannot end, 1004 for a picture
// (rcPicture times the scale) no new bitmap may have, or a scale that is not
// a positive number.
//
// Example:
//   kestra::PictureOptions svg;  // SVG at scale 1
//   kestra::PictureBytes picture = kestra::draw_diagram(table, disp, KESTRA_KIND_BARS, svg);
//   if (picture.status != KESTRA_OK) puts(KestraStatusText(picture.status));
//   int status = kestra::save_plot("sine.pdf", (char*)"y=sin(x)", options,
//                                  {kestra::PictureFormat::pdf, 1.0, true});
#ifndef KESTRA_VECTOR_H
#define KESTRA_VECTOR_H

#include "kestra.h"

#include <string>

namespace kestra {

enum class PictureFormat {
  svg,  // SVG 1.1: one viewBox in picture pixels, width and height times the scale
  pdf,  // one page of rcPicture's size at 96 pixels per inch, times the scale
  png,  // 8-bit RGB
  bmp,  // 24-bit, as the file forms of the exports write it
};

struct PictureOptions {
  PictureFormat format = PictureFormat::svg;
  double scale = 1.0;
  // PNG and BMP: anti-aliased shapes. Without it, shapes have hard pixel
  // edges, and at scale 1 the picture is the exact bitmap of the exports.
  // Texts are smoothed as the exports smooth them. SVG and PDF ignore it.
  bool smooth = true;
};

struct PictureBytes {
  int status = KESTRA_OK;  // a KestraStatus; bytes is empty unless KESTRA_OK
  std::string bytes;       // the file's contents
};

// The diagram of CreateDiag(table, disp, ..., KESTRA_DRAW_NEW, kind).
KESTRA_API PictureBytes draw_diagram(const TAB_GR& table, const DIAG_DISP& disp,
                                     unsigned long kind, const PictureOptions& options) noexcept;

// The plot of CreateGraph(expression, options, ..., KESTRA_DRAW_NEW).
KESTRA_API PictureBytes draw_plot(const char* expression, const OPTION_RECT& plot,
                                  const PictureOptions& options) noexcept;

// The same pictures written to `path`, replaced whole or not at all:
// KESTRA_FILE_WRITE when the file cannot be written, and any old file there
// is left as it was.
KESTRA_API int save_diagram(const std::string& path, const TAB_GR& table, const DIAG_DISP& disp,
                            unsigned long kind, const PictureOptions& options) noexcept;
KESTRA_API int save_plot(const std::string& path, const char* expression, const OPTION_RECT& plot,
                         const PictureOptions& options) noexcept;

}  // namespace kestra

#endif  // KESTRA_VECTOR_H
