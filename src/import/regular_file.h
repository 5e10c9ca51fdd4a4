// Which paths the readers open.
#pragma once

namespace kestra::import {

// Only regular files are read: a folder cannot be, and opening a pipe or a
// device may wait for a writer or never end.
bool is_regular_file(const char* path);

}  // namespace kestra::import
