// CreateTextAxis: the category label buffer, texts with their terminators
// one after another.
#include <cstdarg>

#include "kestra.h"
#include "model/model.h"

namespace {

// Longest label text; longer texts are cut.
constexpr std::size_t label_capacity = 256;

}  // namespace

int CreateTextAxis(char* buffer, unsigned short count, char* first, ...) {
  if (!buffer || count == 0) return 0;
  char* out = buffer;
  out += kestra::model::copy_text(out, label_capacity, first) + 1;
  va_list args;
  va_start(args, first);
  for (unsigned i = 1; i < count; ++i) {
    out += kestra::model::copy_text(out, label_capacity, va_arg(args, char*)) + 1;
  }
  va_end(args);
  return 0;
}
