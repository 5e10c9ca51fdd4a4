// kestra code page: UTF-8 texts as the records' fonts draw them.
//
// The diagram and plot fonts draw each byte of a record's text (captions,
// series names, category labels) as the character it stands for in code
// page 1251, the code page of their character set. Front-ends that take
// UTF-8 convert texts with this call before they fill a record.
//
// Example:
//   kestra::CodePageText text = kestra::to_font_code_page("5 \xE2\x82\xAC");  // "5 €"
//   // text.bytes == "5 \x88", text.replaced == false
#ifndef KESTRA_CODE_PAGE_H
#define KESTRA_CODE_PAGE_H

#include "kestra.h"

#include <string>
#include <string_view>

namespace kestra {

struct CodePageText {
  std::string bytes;      // one byte per character
  bool replaced = false;  // a character the code page lacks, or malformed UTF-8, became '?'
};

// `utf8` in the fonts' code page: each character the code page lacks and each
// byte of a malformed sequence becomes '?'. Throws std::bad_alloc only.
KESTRA_API CodePageText to_font_code_page(std::string_view utf8);

}  // namespace kestra

#endif  // KESTRA_CODE_PAGE_H
