// Single-byte code pages: the character a text byte stands for under a font's
// character set.
#pragma once

#include <array>

#include "kestra_win32.h"

namespace kestra::platform {

// Windows code page of a GDI character set (RUSSIAN_CHARSET is 1251; ANSI,
// DEFAULT and unknown sets read as 1252).
int code_page_of_charset(DWORD charset);

// Unicode code point of every byte in a Windows code page; bytes the code
// page leaves undefined map to 0. Tables are built once and live forever.
const std::array<char32_t, 256>& code_page_table(int code_page);

}  // namespace kestra::platform
