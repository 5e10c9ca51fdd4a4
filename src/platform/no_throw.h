// Exported Win32 functions let no exception out: a body that throws (no
// memory, for one) ends the call with the function's Win32 failure value.
#pragma once

namespace kestra::platform {

template <class Result, class Body>
Result or_failure(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace kestra::platform
