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
  return std::nullopt;
}

}  // namespace kestra::cli
