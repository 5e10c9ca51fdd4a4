// PNG files of bitmaps, for the command-line program.
#pragma once

#include <string>

#include "kestra.h"

namespace kestra::cli {

// Writes the bitmap as an 8-bit RGB PNG. Returns false when the bitmap
// cannot be read or the file cannot be written; no partial file is left.
bool write_png(HBITMAP bitmap, const std::string& path);

}  // namespace kestra::cli
