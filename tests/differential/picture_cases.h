// The pictures the Windows build and the Linux build both draw for the
// differential test: every diagram kind, decoration, fill and pen style,
// function plots, the reference scenes and table imports, each written as a
// BMP file through the public exports.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kestra::differential {

struct PictureCase {
  std::string group;
  std::string name;  // unique; the BMP file is <name>.bmp
  // Draws the picture into the BMP file at `path`; files read live under
  // `data_dir` (tests/data). Returns the export's status.
  std::function<int(const std::string& path, const std::string& data_dir)> draw;
};

std::vector<PictureCase> picture_cases();

}  // namespace kestra::differential
