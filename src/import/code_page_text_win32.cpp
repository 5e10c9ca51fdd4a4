// Code page texts on Windows: MultiByteToWideChar into UTF-16, then UTF-8.
#include <windows.h>

#include <algorithm>
#include <string>

#include "import/code_page_text.h"
#include "import/spreadsheet.h"

namespace kestra::import {

struct CodePageText::Converter {
  explicit Converter(UINT number) : code_page(number) {}
  UINT code_page;
};

CodePageText::CodePageText(int code_page) {
  if (code_page <= 0 || !IsValidCodePage(static_cast<UINT>(code_page))) {
    fail("the workbook's code page is not one this reader converts");
  }
  converter_ = std::make_unique<Converter>(static_cast<UINT>(code_page));
}
CodePageText::CodePageText(CodePageText&&) noexcept = default;
CodePageText& CodePageText::operator=(CodePageText&&) noexcept = default;
CodePageText::~CodePageText() = default;

std::string CodePageText::utf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(converter_->code_page, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(converter_->code_page, 0, bytes.data(), size, wide.data(), units);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace kestra::import
