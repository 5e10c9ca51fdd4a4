// The platform layer's contract with the rest of the library. Drawing code
// reaches the layer through the Win32 names of kestra.h; beyond them, other
// folders include this header only: owners for handles and selections, the
// largest bitmap, the DIB row size and the file-system seam of the file
// writer. All but the seam build against <windows.h> too.
#pragma once

#include "platform/bitmap_limits.h"
#include "platform/dib_rows.h"
#include "platform/gdi_handles.h"
#ifndef _WIN32
#include "platform/file_system.h"
#endif
