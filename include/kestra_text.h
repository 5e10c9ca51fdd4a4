// kestra text mode: texts in UTF-8, for the front-ends.
//
// The exports read every text (captions, series names, category labels) as
// single bytes in the code page of the diagram's or plot's font, as Windows
// hosts pass them. A front-end that holds texts in UTF-8 opens a Utf8Text
// scope around its drawing calls: while it is open, the text calls of this
// thread decode UTF-8 instead, and a character the font lacks is drawn with
// a face fontconfig picks for it. Other threads, and everything outside the
// scope, keep the code-page reading. ASCII draws the same either way.
//
// The records keep their byte limits (a series name holds 39 bytes, a
// caption 19): cut a text with utf8_fit so no character is split.
//
// Part of the Linux library and its front-ends, not of the Windows DLL.
//
// Example:
//   std::string name = "Zürich";
//   name.resize(kestra::utf8_fit(name, 39));
//   GRAPH_ELEM element = ReturnGraphElem(RGB(0, 0, 255), 1, name.data());
//   ...
//   {
//     kestra::Utf8Text utf8;
//     status = CreateDiag(table, disp, &bitmap, 1, KESTRA_KIND_BARS);
//   }
#ifndef KESTRA_TEXT_H
#define KESTRA_TEXT_H

#include "kestra.h"

#include <cstddef>
#include <string_view>

namespace kestra {

// Whether the text calls of this thread read UTF-8 (else the font's code page).
KESTRA_API bool utf8_text_mode() noexcept;
// Switches this thread's reading; Utf8Text does it for a scope.
KESTRA_API void set_utf8_text_mode(bool on) noexcept;

// UTF-8 text mode for the life of the object, on the thread that made it;
// the mode before it comes back at its end, so scopes nest.
class Utf8Text {
 public:
  Utf8Text() noexcept : previous_(utf8_text_mode()) { set_utf8_text_mode(true); }
  ~Utf8Text() { set_utf8_text_mode(previous_); }
  Utf8Text(const Utf8Text&) = delete;
  Utf8Text& operator=(const Utf8Text&) = delete;

 private:
  bool previous_;
};

// The length of the longest start of `text` that has at most `limit` bytes
// and ends on a character boundary of UTF-8 (a lead byte never loses its
// continuation bytes).
inline std::size_t utf8_fit(std::string_view text, std::size_t limit) noexcept {
  if (text.size() <= limit) return text.size();
  std::size_t length = limit;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

}  // namespace kestra

#endif  // KESTRA_TEXT_H
