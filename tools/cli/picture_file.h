// Output files: the format comes from the extension in any case (.png,
// .PNG, .bmp, .svg, .pdf). PNG and BMP at scale 1 without smoothing are the
// exports' exact pixels (BMP through the library's file form, PNG through
// libpng); everything else is drawn by the vector front end.
#pragma once

#include <optional>
#include <string>

#include "kestra.h"
#include "kestra_vector.h"
#include "png_file.h"
#include "settings.h"

namespace kestra::cli {

using PictureFormat = kestra::PictureFormat;

// The format the path's extension names, or nothing for another extension.
std::optional<PictureFormat> picture_format(const std::string& path);

// Whether the picture is the exports' own bitmap: PNG or BMP at scale 1
// without smoothing.
bool is_exact(PictureFormat format, const PictureOutput& output);

// For the exact pixels, calls `draw` with the path (char*, the exports'
// file form) for BMP, or with an HBITMAP* for a new picture that is then
// written as PNG and deleted; else `save` with the path and the vector
// options. Returns the call's status, or KESTRA_FILE_WRITE when the PNG
// file cannot be written.
template <class Draw, class Save>
int write_picture(const std::string& path, const PictureOutput& output, Draw draw, Save save) {
  const PictureFormat format = *picture_format(path);
  if (!is_exact(format, output)) return save(path, PictureOptions{format, output.scale, output.smooth});
  if (format == PictureFormat::bmp) {
    std::string target = path;
    return draw(target.data());
  }
  HBITMAP bitmap = nullptr;
  const int status = draw(&bitmap);
  if (status != KESTRA_OK) return status;
  const bool written = write_png(bitmap, path);
  DeleteObject(bitmap);
  return written ? KESTRA_OK : KESTRA_FILE_WRITE;
}

}  // namespace kestra::cli
