// Tells which font Windows gives for the diagram font request ("arial",
// Cyrillic character set, variable pitch): prints its face name and writes
// its font file, to be matched against the file the Linux build uses.
//
// Usage: font_face <file to write the font data to>
#include <windows.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "arial");
  if (!dc || !font) return 1;
  HGDIOBJ old = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  const DWORD size = GetFontData(dc, 0, 0, nullptr, 0);
  std::vector<char> data(size == GDI_ERROR ? 0 : size);
  const bool read = !data.empty() && GetFontData(dc, 0, 0, data.data(), size) == size;
  std::FILE* file = std::fopen(argv[1], "wb");
  const bool written = read && file && std::fwrite(data.data(), 1, data.size(), file) == data.size();
  if (file) std::fclose(file);
  std::printf("%s\n", face);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return written ? 0 : 1;
}
