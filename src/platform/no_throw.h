// Exported Win32 functions let no exception out: a body that throws (no
// memory, for one) ends the call with the function's Win32 failure value.
#pragma once

#include <new>

#include "kestra_win32.h"

namespace kestra::platform {

template <class Result, class Body>
[[nodiscard]] Result or_failure(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return failure;
  } catch (...) {
    return failure;
  }
}

}  // namespace kestra::platform
