// Live GDI objects as the library's own object table counts them.
#include "support/live_objects.h"

#include "platform/object_table.h"

namespace kestra::test {

std::size_t live_gdi_objects() { return platform::live_objects(); }

}  // namespace kestra::test
