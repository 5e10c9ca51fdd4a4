// Not available in this build yet: the plot renderer.
#include "kestra.h"

int CreateGraph(char*, OPTION_RECT, HBITMAP*, unsigned long) { return KESTRA_NOT_IMPLEMENTED; }
