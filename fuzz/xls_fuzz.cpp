// The range reader over whole workbook files taken from the input bytes: a
// compound file (.xls), or any other bytes, read as the file kind they show.
// Any input must give a status without a crash, a hang or a leaked array.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "spreadsheet_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = "/tmp/kestra-xls-fuzz-" + std::to_string(getpid());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
  for (const int sheet : {1, 2}) read_range_or_abort(path.c_str(), sheet);
  std::remove(path.c_str());
  return 0;
}
