// One text per status code, for people reading an error: the texts of the
// public header's status table.
#include "kestra.h"

const char* KestraStatusText(int status) {
  switch (status) {
#define KESTRA_STATUS_TEXT(name, value, text) \
  case name:                                  \
    return text;
    KESTRA_STATUS_CODES(KESTRA_STATUS_TEXT)
#undef KESTRA_STATUS_TEXT
  }
  return "unknown status";
}
