// Placeholder until text rendering lands.
#include "platform/gdi_objects.h"

using namespace kestra::platform;

HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, LPCSTR) {
  return static_cast<HFONT>(ObjectTable::instance().add(std::make_shared<Font>(nullptr)));
}
int DrawTextA(HDC, LPCSTR, int, LPRECT, UINT) { return 0; }
BOOL TextOutA(HDC, int, int, LPCSTR, int) { return FALSE; }
BOOL GetTextExtentPoint32A(HDC, LPCSTR, int, LPSIZE size) {
  if (size) *size = {0, 0};
  return FALSE;
}
BOOL GetTextMetricsA(HDC, TEXTMETRICA*) { return FALSE; }
int GetTextFaceA(HDC, int, LPSTR) { return 0; }
