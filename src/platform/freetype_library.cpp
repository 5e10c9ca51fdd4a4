// One FreeType library for the process, set up to hint as Wine's GDI does.
#include "platform/freetype_library.h"

#include FT_MODULE_H
#include FT_DRIVER_H

#include <mutex>

namespace kestra::platform {
namespace {

std::mutex& library_mutex() {
  static std::mutex mutex;
  return mutex;
}

// FreeType's current TrueType interpreter (v40) is fixed here rather than
// taken from FREETYPE_PROPERTIES, so glyphs do not depend on the environment;
// two-colour glyphs get classic hinting from it either way.
FT_Library create_library() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return nullptr;
  FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
  FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
  return library;
}

}  // namespace

FT_Library freetype_library() {
  static const FT_Library library = create_library();
  return library;
}

FT_Face open_freetype_face(const std::string& path, int index) {
  FT_Library library = freetype_library();
  if (!library) return nullptr;
  std::lock_guard lock(library_mutex());
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), index, &face) != 0) return nullptr;
  return face;
}

void close_freetype_face(FT_Face face) {
  if (!face) return;
  std::lock_guard lock(library_mutex());
  FT_Done_Face(face);
}

}  // namespace kestra::platform
