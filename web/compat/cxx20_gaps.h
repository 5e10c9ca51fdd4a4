// What emscripten's libc++ 14 lacks of C++20: std::from_chars and the
// shortest std::to_chars for double, and std::bit_cast. The browser build includes this header in every source
// (-include) so the library's sources stay as they are. from_chars keeps the
// standard's contract: no leading blanks or '+', "inf"/"nan" in any case,
// the value untouched when the number is out of range.
#pragma once

#include <bit>
#include <charconv>
#include <cstring>
#include <type_traits>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 17000
namespace std {

from_chars_result from_chars(const char* first, const char* last, double& value,
                             chars_format format = chars_format::general);
// The shortest text that reads back as the same value: fixed or scientific,
// whichever is shorter, fixed on a tie.
to_chars_result to_chars(char* first, char* last, double value);

#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
  requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
           is_trivially_copyable_v<From>)
To bit_cast(const From& from) noexcept {
  To to;
  memcpy(&to, &from, sizeof to);
  return to;
}
#endif

}  // namespace std
#endif
