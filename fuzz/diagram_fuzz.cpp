// CreateDiag over display records, tables and label buffers taken from the
// input bytes: any field value must draw without a crash or a leaked object.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_bytes.h"
#include "kestra.h"
#include "platform/object_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes bytes(data, size);
  const int rows = 1 + bytes.take<std::uint8_t>() % 4;
  const int cols = 2 + bytes.take<std::uint8_t>() % 7;
  std::vector<double> values(static_cast<std::size_t>(rows * cols));
  for (double& v : values) v = bytes.take<double>();
  std::vector<GRAPH_ELEM> elements(static_cast<std::size_t>(rows));
  for (GRAPH_ELEM& e : elements) e = bytes.take<GRAPH_ELEM>();

  // Every field from the input except the pointers, which point at real buffers.
  DIAG_DISP disp = bytes.take<DIAG_DISP>();
  const int width = 1 + bytes.take<std::uint8_t>() % 200;
  const int height = 1 + bytes.take<std::uint8_t>() % 150;
  disp.rcPicture = {0, 0, width, height};
  const unsigned long mode = bytes.take<std::uint8_t>() % 2 + 1;
  const unsigned long kinds[] = {1, 2, 101, 0};
  const unsigned long kind = kinds[bytes.take<std::uint8_t>() % 4];
  std::vector<char> labels = bytes.rest();
  labels.push_back('\0');
  disp.categoryLabels = labels.data();
  disp.categoryLabelsLength = static_cast<std::uint16_t>(std::min<std::size_t>(labels.size(), 65535));
  disp.elements = elements.data();
  disp.legendFontHeight %= 64;  // keep text rendering quick
  disp.captionFontHeight %= 64;
  disp.barValueFontHeight %= 64;
  disp.divisions %= 1024;  // each division is a grid line and a printed label

  const std::size_t live = kestra::platform::live_objects();
  HBITMAP bitmap = nullptr;
  if (mode == 2) {
    HDC screen = GetDC(GetForegroundWindow());
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(GetForegroundWindow(), screen);
  }
  const TAB_GR table{rows, cols, values.data()};
  const int status = CreateDiag(table, disp, &bitmap, mode, kind);
  if (status != KESTRA_OK) std::abort();
  DeleteObject(bitmap);
  if (kestra::platform::live_objects() != live) std::abort();
  return 0;
}
