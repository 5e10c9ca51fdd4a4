// Picks the output format from the file name.
#include "picture_file.h"

#include <algorithm>
#include <cctype>

namespace kestra::cli {

std::optional<PictureFormat> picture_format(const std::string& path) {
  const auto dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return std::nullopt;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "png") return PictureFormat::png;
  if (extension == "bmp") return PictureFormat::bmp;
  if (extension == "svg") return PictureFormat::svg;
  if (extension == "pdf") return PictureFormat::pdf;
  return std::nullopt;
}

bool is_exact(PictureFormat format, const PictureOutput& output) {
  return (format == PictureFormat::png || format == PictureFormat::bmp) && output.scale == 1.0 &&
         !output.smooth;
}

}  // namespace kestra::cli
