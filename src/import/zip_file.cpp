// Zip packages opened by their POSIX path.
#include "import/zip_file.h"

namespace kestra::import {

zip_t* open_zip_file(const char* path) {
  int error = 0;
  return zip_open(path, ZIP_RDONLY, &error);
}

}  // namespace kestra::import
