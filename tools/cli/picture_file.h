// Output files: the format comes from the extension in any case (.png,
// .PNG, .bmp); BMP through the library's file form, PNG through libpng.
#pragma once

#include <optional>
#include <string>

#include "kestra.h"
#include "png_file.h"

namespace kestra::cli {

enum class PictureFormat { bmp, png };

// The format the path's extension names, or nothing for another extension.
std::optional<PictureFormat> picture_format(const std::string& path);

// Calls `draw` with the path (char*, the exports' file form) for BMP, or with
// an HBITMAP* for a new picture that is then written as PNG and deleted.
// Returns the export's status, or KESTRA_FILE_WRITE when the PNG file
// cannot be written.
template <class Draw>
int write_picture(const std::string& path, PictureFormat format, Draw draw) {
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
