// Compares the pictures the Windows and the Linux build drew for the
// differential test, pixel by pixel, and reports each case by group: equal,
// or how many pixels differ and where. Also compares the reference cases with
// the stored reference pictures.
//
// Usage: compare_pictures <case list> <linux folder> <windows folder> <reference folder>
// The case list holds "group name status" lines as draw_pictures prints them.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "support/bmp_file.h"

namespace {

using kestra::test::BmpImage;
using kestra::test::read_bmp;

// Differing pixels and the rectangle that holds them.
struct Difference {
  long pixels = 0;
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  std::string first;  // the first differing pixel: position and both colours
};

Difference compare(const BmpImage& ours, const BmpImage& theirs) {
  Difference d;
  for (int y = 0; y < ours.height; ++y) {
    for (int x = 0; x < ours.width; ++x) {
      if (ours.at(x, y) == theirs.at(x, y)) continue;
      if (d.pixels++ == 0) {
        char text[64];
        std::snprintf(text, sizeof text, "(%d,%d) %06X vs %06X", x, y,
                      static_cast<unsigned>(ours.at(x, y)), static_cast<unsigned>(theirs.at(x, y)));
        d.first = text;
      }
      d.left = std::min(d.left, x), d.top = std::min(d.top, y);
      d.right = std::max(d.right, x), d.bottom = std::max(d.bottom, y);
    }
  }
  return d;
}

// One line on the comparison of two pictures; true when they are equal.
bool report(const std::string& what, const std::string& a_path, const std::string& b_path) {
  const auto a = read_bmp(a_path);
  const auto b = read_bmp(b_path);
  if (!a || !b) {
    std::printf("  %-40s missing or unreadable: %s\n", what.c_str(), (!a ? a_path : b_path).c_str());
    return false;
  }
  if (a->width != b->width || a->height != b->height) {
    std::printf("  %-40s sizes differ: %dx%d vs %dx%d\n", what.c_str(), a->width, a->height,
                b->width, b->height);
    return false;
  }
  const Difference d = compare(*a, *b);
  if (d.pixels == 0) return true;
  std::printf("  %-40s %ld pixels differ in (%d,%d)-(%d,%d), first %s\n", what.c_str(), d.pixels,
              d.left, d.top, d.right, d.bottom, d.first.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <case list> <linux> <windows> <references>\n", argv[0]);
    return 2;
  }
  std::ifstream list(argv[1]);
  const std::string linux_dir = argv[2], windows_dir = argv[3], reference_dir = argv[4];
  std::map<std::string, std::pair<int, int>> groups;  // equal, total
  std::string group, name;
  int status = 0;
  bool all_equal = true;
  while (list >> group >> name >> status) {
    const std::string file = "/" + name + ".bmp";
    bool equal = status == 0 && report(name, linux_dir + file, windows_dir + file);
    if (status != 0) std::printf("  %-40s status %d\n", name.c_str(), status);
    if (group == "references") {
      const std::string stored = reference_dir + "/" + name.substr(name.find('-') + 1) + ".bmp";
      equal = report(name + " (stored)", stored, windows_dir + file) && equal;
    }
    auto& [equal_count, total] = groups[group];
    equal_count += equal;
    ++total;
    all_equal = all_equal && equal;
  }
  for (const auto& [name, counts] : groups) {
    std::printf("%-12s %d of %d pictures identical\n", name.c_str(), counts.first, counts.second);
  }
  if (groups.empty()) std::printf("no cases listed in %s\n", argv[1]);
  return all_equal && !groups.empty() ? 0 : 1;
}
