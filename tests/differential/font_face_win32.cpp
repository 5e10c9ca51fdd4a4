// Tells which font Windows gives for the diagram font request ("arial",
// Cyrillic character set, variable pitch): its face name and the size in
// bytes of its font file, to match against the file the Linux build uses.
#include <windows.h>

#include <cstdio>

int main() {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "arial");
  if (!dc || !font) return 1;
  HGDIOBJ old = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  const DWORD file_size = GetFontData(dc, 0, 0, nullptr, 0);
  std::printf("%s\n%lu\n", face, static_cast<unsigned long>(file_size));
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return 0;
}
