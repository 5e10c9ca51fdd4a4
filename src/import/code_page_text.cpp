// Code page texts through iconv: glibc knows every Windows code page as
// "CP<number>"; musl (the browser build) knows fewer and some by another name.
#include "import/code_page_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

struct OtherName {
  int code_page;
  const char* name;
};
constexpr OtherName kOtherNames[] = {
    {932, "SHIFT_JIS"},
    {936, "GBK"},
    {10000, "MACINTOSH"},
    {20127, "US-ASCII"},
};

iconv_t open_to_utf8(int code_page) {
  const std::string name = "CP" + std::to_string(code_page);
  iconv_t converter = iconv_open("UTF-8", name.c_str());
  for (const OtherName& other : kOtherNames) {
    if (converter == kNoConverter && other.code_page == code_page) {
      converter = iconv_open("UTF-8", other.name);
    }
  }
  return converter;
}

bool is_ascii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

struct CodePageText::Converter {
  explicit Converter(iconv_t opened) : handle(opened) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { iconv_close(handle); }
  iconv_t handle;
};

CodePageText::CodePageText(int code_page) {
  const iconv_t handle = open_to_utf8(code_page);
  if (handle == kNoConverter) fail("the workbook's code page is not one this reader converts");
  converter_ = std::make_unique<Converter>(handle);
}
CodePageText::CodePageText(CodePageText&&) noexcept = default;
CodePageText& CodePageText::operator=(CodePageText&&) noexcept = default;
CodePageText::~CodePageText() = default;

std::string CodePageText::utf8(std::string_view bytes) {
  if (is_ascii(bytes)) return std::string(bytes);  // the same in every code page read here
  // A byte gives at most three bytes of UTF-8 (a replacement too), a pair four.
  std::string text(3 * bytes.size() + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* out = text.data();
  std::size_t out_left = text.size();
  const iconv_t handle = converter_->handle;
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  // Flushed before a replacement and at the end: glibc's CP1255 and CP1258
  // hold back a base letter until they know whether a combining mark follows.
  constexpr std::size_t kFailed = static_cast<std::size_t>(-1);
  while (in_left > 0 && iconv(handle, &in, &in_left, &out, &out_left) == kFailed) {
    if (errno == E2BIG) break;
    iconv(handle, nullptr, nullptr, &out, &out_left);
    if (out_left < 3) break;
    std::memcpy(out, "\xEF\xBF\xBD", 3);  // EILSEQ or EINVAL: the byte stands for U+FFFD
    out += 3;
    out_left -= 3;
    ++in;
    --in_left;
  }
  iconv(handle, nullptr, nullptr, &out, &out_left);
  text.resize(text.size() - out_left);
  return text;
}

}  // namespace kestra::import
