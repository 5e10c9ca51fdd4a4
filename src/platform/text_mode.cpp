// The thread's text reading: code page of the font, or UTF-8 for front-ends.
#include "kestra_text.h"

namespace {
thread_local bool utf8_text = false;
}  // namespace

bool kestra::utf8_text_mode() noexcept { return utf8_text; }

void kestra::set_utf8_text_mode(bool on) noexcept { utf8_text = on; }
