// Byte-to-Unicode tables of the Windows code pages, built once through iconv.
#include "platform/code_pages.h"

#include <iconv.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace kestra::platform {
namespace {

struct CharsetCodePage {
  DWORD charset;
  int code_page;
};

constexpr CharsetCodePage charset_code_pages[] = {
    {238, 1250},  // EASTEUROPE_CHARSET
    {204, 1251},  // RUSSIAN_CHARSET
    {161, 1253},  // GREEK_CHARSET
    {162, 1254},  // TURKISH_CHARSET
    {177, 1255},  // HEBREW_CHARSET
    {178, 1256},  // ARABIC_CHARSET
    {186, 1257},  // BALTIC_CHARSET
};

using Table = std::array<char32_t, 256>;

// Decodes each byte on its own; iconv rejects the bytes a code page leaves
// undefined, and those stay 0. Without an iconv converter the low half is
// still ASCII.
std::unique_ptr<Table> build_table(int code_page) {
  auto table = std::make_unique<Table>();
  for (int byte = 0; byte < 128; ++byte) (*table)[byte] = static_cast<char32_t>(byte);
  const std::string name = "CP" + std::to_string(code_page);
  iconv_t converter = iconv_open("UTF-32LE", name.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return table;
  for (int byte = 128; byte < 256; ++byte) {
    char in = static_cast<char>(byte);
    unsigned char out[8] = {};
    char* in_ptr = &in;
    char* out_ptr = reinterpret_cast<char*>(out);
    std::size_t in_left = 1, out_left = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) ||
        sizeof out - out_left != 4) {
      continue;
    }
    (*table)[byte] = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
  }
  iconv_close(converter);
  return table;
}

}  // namespace

int code_page_of_charset(DWORD charset) {
  for (const CharsetCodePage& entry : charset_code_pages)
    if (entry.charset == charset) return entry.code_page;
  return 1252;
}

const std::array<char32_t, 256>& code_page_table(int code_page) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<Table>> tables;
  std::lock_guard lock(mutex);
  std::unique_ptr<Table>& table = tables[code_page];
  if (!table) table = build_table(code_page);
  return *table;
}

}  // namespace kestra::platform
