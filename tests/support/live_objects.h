// The number of GDI objects this process holds, for the leak checks.
#pragma once

#include <cstddef>

namespace kestra::test {

std::size_t live_gdi_objects();

}  // namespace kestra::test
