// The process's FreeType library. Faces are created and destroyed through it
// under one lock (FreeType's rule for sharing a library between threads);
// each face is then used by one thread at a time.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace kestra::platform {

FT_Library freetype_library();

// A face of a font file, or null when the file cannot be loaded.
FT_Face open_freetype_face(const std::string& path, int index);
void close_freetype_face(FT_Face face);

}  // namespace kestra::platform
