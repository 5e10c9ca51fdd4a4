// ReturnGraphElem and CreateGraphElem: the series descriptions of a diagram.
#include <cstdarg>
#include <cstring>

#include "kestra.h"

GRAPH_ELEM ReturnGraphElem(unsigned long color, int style, char* name) {
  GRAPH_ELEM element{};
  element.color = static_cast<std::uint32_t>(color);
  element.width = 1;
  element.style = style;
  // A name that does not fit the 40-byte field (39 characters and the
  // terminator) becomes a single space rather than being cut.
  const std::size_t capacity = sizeof element.name;
  const std::size_t length = name ? strnlen(name, capacity) : 0;
  if (length < capacity) {
    if (length) std::memcpy(element.name, name, length);
  } else {
    element.name[0] = ' ';
  }
  return element;
}

int CreateGraphElem(void* buffer, unsigned short count, GRAPH_ELEM first, ...) {
  if (!buffer || count == 0) return 0;
  auto* out = static_cast<unsigned char*>(buffer);
  std::memcpy(out, &first, sizeof(GRAPH_ELEM));
  va_list args;
  va_start(args, first);
  for (unsigned i = 1; i < count; ++i) {
    const GRAPH_ELEM element = va_arg(args, GRAPH_ELEM);
    std::memcpy(out + i * sizeof(GRAPH_ELEM), &element, sizeof(GRAPH_ELEM));
  }
  va_end(args);
  return 0;
}
