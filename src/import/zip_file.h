// Opening a zip package by the path a caller gave.
#pragma once

#include <zip.h>

namespace kestra::import {

// The package at `path` opened read-only; nullptr when it cannot be.
zip_t* open_zip_file(const char* path);

}  // namespace kestra::import
