// Draws every picture of the differential case list into a folder, one BMP
// file per case, and lists each case's status. Built for Linux and, with the
// same source, for Windows against kestra.dll.
//
// Usage: draw_pictures <output folder> <tests/data folder>
#include <cstdio>
#include <string>

#include "picture_cases.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <output folder> <test data folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  int failed = 0;
  for (const auto& picture : kestra::differential::picture_cases()) {
    const int status = picture.draw(folder + "/" + picture.name + ".bmp", argv[2]);
    std::printf("%s %s %d\n", picture.group.c_str(), picture.name.c_str(), status);
    failed += status != 0;
  }
  std::fflush(stdout);
  return failed ? 1 : 0;
}
