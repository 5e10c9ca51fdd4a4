// Zip packages opened on Windows by a path in the ANSI code page (libzip's
// zip_open would read the path as UTF-8).
#include "import/zip_file.h"

namespace kestra::import {

zip_t* open_zip_file(const char* path) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_win32a_create(path, 0, -1, &error);
  zip_t* zip = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  // An archive owns its source; one that did not open leaves it to us.
  if (source && !zip) zip_source_free(source);
  zip_error_fini(&error);
  return zip;
}

}  // namespace kestra::import
