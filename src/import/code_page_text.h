// Texts in a Windows code page (the byte strings of Excel 5.0/95 workbooks)
// turned into UTF-8, the form every workbook backend hands texts over in.
// Linux and the browser convert through iconv, Windows through
// MultiByteToWideChar (code_page_text_win32.cpp).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kestra::import {

class CodePageText {
 public:
  // A Windows code page number: 1252, 1251, 932, 10000 (Mac Roman), 20127
  // (US-ASCII), ... Throws AutomationError when this build cannot convert it.
  explicit CodePageText(int code_page);
  CodePageText(CodePageText&&) noexcept;
  CodePageText& operator=(CodePageText&&) noexcept;
  ~CodePageText();

  // The bytes as UTF-8. Through iconv a byte the code page leaves undefined
  // (or a lead byte with no trail byte) becomes U+FFFD; on Windows it becomes
  // what MultiByteToWideChar makes of it, as for Excel there (U+0081 for 0x81
  // of Windows-1252, the code page's default character, a best fit).
  [[nodiscard]] std::string utf8(std::string_view bytes);

 private:
  struct Converter;
  std::unique_ptr<Converter> converter_;
};

}  // namespace kestra::import
