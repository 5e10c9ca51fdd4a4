// Internal helpers shared by the record builders.
#pragma once

#include <cstddef>
#include <cstring>

namespace kestra::model {

// Copies at most capacity - 1 characters of `text` into `out` and terminates
// it; a null text counts as empty. Returns the number of characters copied.
inline std::size_t copy_text(char* out, std::size_t capacity, const char* text) {
  const std::size_t length = text ? strnlen(text, capacity - 1) : 0;
  if (length) std::memcpy(out, text, length);
  out[length] = '\0';
  return length;
}

}  // namespace kestra::model
