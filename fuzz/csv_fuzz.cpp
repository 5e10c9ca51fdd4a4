// The CSV reader over any text: every text file is a readable workbook, and
// a block inside the range (the reader stops past its last row) holds the
// same values as the same cells of the whole range.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "spreadsheet_fuzz.h"

namespace {

// The input as text the workbook opener takes for CSV: no NUL, and no zip
// or compound file signature at the start.
std::string as_csv_text(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (char& c : text) {
    if (c == '\0') c = ' ';
  }
  if (!text.empty() && (text[0] == 'P' || text[0] == '\xD0')) text[0] = ' ';
  return text;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = "/tmp/kestra-csv-fuzz-" + std::to_string(getpid()) + ".csv";
  const std::string text = as_csv_text(data, size);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);

  const RangeRead whole = read_range_or_abort(path.c_str(), 1, "A1:F40");
  const RangeRead block = read_range_or_abort(path.c_str(), 1, "B3:D12");
  std::remove(path.c_str());
  if (whole.status != KESTRA_OK || block.status != KESTRA_OK) std::abort();
  for (std::size_t row = 0; row < 10; ++row) {
    for (std::size_t col = 0; col < 3; ++col) {
      if (!same_bits(whole.values[(row + 2) * 6 + col + 1], block.values[row * 3 + col])) {
        std::abort();
      }
    }
  }
  return 0;
}
