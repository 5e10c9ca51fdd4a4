// One text per status code, for people reading an error.
#include "kestra.h"

const char* KestraStatusText(int status) {
  switch (status) {
    case KESTRA_OK: return "success";
    case KESTRA_MODE_UNKNOWN: return "bitmap mode (low three bits) is 3 to 7";
    case KESTRA_MODE_ZERO: return "bitmap mode (low three bits) is 0";
    case KESTRA_NO_DC: return "the memory device context cannot be created";
    case KESTRA_NO_BITMAP: return "the picture bitmap cannot be created (or its size is out of range)";
    case KESTRA_NO_CURRENT_BITMAP: return "after drawing the device context holds no bitmap";
    case KESTRA_BAD_EXPRESSION: return "the expression is refused";
    case KESTRA_BAD_FONT_HEIGHT: return "caption font height outside 1 to 99";
    case KESTRA_SURFACE_MODE_NEW: return "a surface target called with mode 1";
    case KESTRA_BAD_TABLE: return "the table has fewer than 1 row or 2 columns, or no values";
    case KESTRA_HTML_OPEN: return "the HTML file cannot be opened or read";
    case KESTRA_HTML_NO_TABLE: return "the HTML file holds no usable table";
    case KESTRA_WORKBOOK: return "the workbook cannot be read as asked";
    case KESTRA_BAD_RANGE: return "the range text is malformed";
    case KESTRA_NOT_IMPLEMENTED: return "this target form is not available in this build";
    case KESTRA_BAD_SAMPLING: return "plot sampling cannot end (step, bounds or sample count)";
    case KESTRA_FILE_WRITE: return "the BMP file could not be written";
    case KESTRA_FILE_LOAD: return "mode 2: no loadable BMP picture at the path";
    case KESTRA_PICTURE_SIZE: return "mode 2: the picture's size differs from the requested size";
    case KESTRA_SURFACE_DC: return "the surface could not lend a device context";
    case KESTRA_INTERNAL: return "an unexpected internal failure (for example no memory)";
  }
  return "unknown status";
}
