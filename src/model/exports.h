// What every drawing export shares: no exception leaves it, and a table it
// read for itself is released on every path.
#pragma once

#include "kestra.h"

namespace kestra::model {

// Runs an export's body: whatever the standard library throws (no memory,
// for one) becomes KESTRA_INTERNAL.
template <class Body>
int guarded(Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return KESTRA_INTERNAL;
  }
}

// A table read from a file, released with FreeTabGr when it goes out of scope.
struct OwnedTable {
  OwnedTable() = default;
  OwnedTable(const OwnedTable&) = delete;
  OwnedTable& operator=(const OwnedTable&) = delete;
  ~OwnedTable() { FreeTabGr(&table); }

  TAB_GR table{0, 0, nullptr};
};

// Reads a table with `read` (a status, filling the table it is given) and
// draws it with the CreateDiag form of `target`.
template <class Read, class Target>
int draw_read_table(Read read, const DIAG_DISP& disp, Target target, unsigned long mode,
                    unsigned long kind) noexcept {
  return guarded([&] {
    OwnedTable owned;
    if (const int status = read(&owned.table)) return status;
    return CreateDiag(owned.table, disp, target, mode, kind);
  });
}

}  // namespace kestra::model
