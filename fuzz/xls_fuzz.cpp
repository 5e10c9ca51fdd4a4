// The range reader over whole workbook files taken from the input bytes: a
// compound file (.xls), or any other bytes, read as the file kind they show.
// Any input must give a status without a crash, a hang or a leaked array.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "import/spreadsheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = "/tmp/kestra-xls-fuzz-" + std::to_string(getpid());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
  for (const int sheet : {1, 2}) {
    TAB_GR table{0, 0, nullptr};
    const EXCEL_TAB range{sheet, "A1:F30"};
    const int status = kestra::import::read_excel_range(path.c_str(), range, &table);
    if (status != KESTRA_OK && status != KESTRA_WORKBOOK) std::abort();
    if ((status == KESTRA_OK) != (table.values != nullptr)) std::abort();
    FreeTabGr(&table);
  }
  std::remove(path.c_str());
  return 0;
}
