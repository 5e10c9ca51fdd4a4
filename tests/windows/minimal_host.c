/* A minimal host in C: the builders through the import library (their plain
 * names), the overloaded CreateDiag by its decorated name. Records the host
 * only passes on may stay opaque, of the right size and alignment.
 *   i686-w64-mingw32-gcc minimal_host.c -o host.exe -Lbuild-windows/x86 -lkestra
 * (x86_64-w64-mingw32-gcc and build-windows/x64 for 64-bit).
 */
#include <windows.h>
#include <stdio.h>

typedef struct { int rows, cols; double* values; } TAB_GR;
typedef struct { unsigned int opaque[13]; } GRAPH_ELEM; /* 52 bytes */
#ifdef _WIN64
typedef struct { double opaque[32]; } DIAG_DISP;        /* 256 bytes */
#define CREATE_DIAG_TO_FILE "?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@PEADKK@Z"
#else
typedef struct { double opaque[30]; } DIAG_DISP;        /* 240 bytes */
#define CREATE_DIAG_TO_FILE "?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@PADKK@Z"
#endif

__declspec(dllimport) TAB_GR CreateTabGr(int rows, int cols, double first, ...);
__declspec(dllimport) void FreeTabGr(TAB_GR* table);
__declspec(dllimport) GRAPH_ELEM ReturnGraphElem(unsigned long color, int style, char* name);
__declspec(dllimport) int CreateTextAxis(char* buffer, unsigned short count, char* first, ...);
__declspec(dllimport) DIAG_DISP ReturnDiagDisp(
    RECT picture, unsigned long backColor, unsigned long frameColor, unsigned long axisColor,
    unsigned short divisions, unsigned long textColor, unsigned short captionFontHeight,
    unsigned long barValueColor, unsigned short barValueFontHeight, char* captionX,
    char* captionY, void* categoryLabels, unsigned short categoryLabelsLength,
    unsigned short legendEntries, void* elements, unsigned char decimals, unsigned long flags);
__declspec(dllimport) const char* KestraStatusText(int status);

typedef int (*CreateDiagToFile)(TAB_GR, DIAG_DISP, char*, unsigned long, unsigned long);

int main(int argc, char** argv) {
  char* path = argc > 1 ? argv[1] : "diagram.bmp";
  TAB_GR table = CreateTabGr(2, 3, 1.0, 4.0, 2.0, 3.0, 1.0, 2.5);
  GRAPH_ELEM series[2];
  char labels[16];
  RECT picture = {0, 0, 300, 200};
  series[0] = ReturnGraphElem(RGB(200, 0, 0), 1, "Sales");
  series[1] = ReturnGraphElem(RGB(0, 0, 200), 2, "Costs");
  CreateTextAxis(labels, 3, "Q1", "Q2", "Q3");
  DIAG_DISP disp = ReturnDiagDisp(picture, RGB(255, 255, 255), 0, 0, 4, 0, 12, 0, 10, "Quarter",
                                  "EUR", labels, 9, 2, series, 2, 0x3FF);

  HMODULE dll = GetModuleHandleA("kestra.dll"); /* loaded with the import library */
  CreateDiagToFile create_diag =
      (CreateDiagToFile)(void*)GetProcAddress(dll, CREATE_DIAG_TO_FILE);
  int status = create_diag ? create_diag(table, disp, path, 1, 101 /* bars */) : -1;
  printf("%d: %s\n", status, KestraStatusText(status));
  FreeTabGr(&table);
  return status;
}
