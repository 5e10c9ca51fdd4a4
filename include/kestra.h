// kestra: business diagrams and function plots drawn into bitmaps.
//
// A host describes a diagram with a TAB_GR (the numbers), a DIAG_DISP (the
// look) and one GRAPH_ELEM per series, or a function plot with an expression
// text and an OPTION_RECT, and gets the picture back as a bitmap handle, as a
// copy on a surface, or as a BMP file. Records go in and come back by value;
// their field order and widths are part of the binary interface.
//
// Example:
//   TAB_GR table = CreateTabGr(1, 3, 1.0, 4.0, 2.0);
//   char names[64];
//   CreateTextAxis(names, 3, (char*)"Q1", "Q2", "Q3");
//   GRAPH_ELEM series[1];
//   CreateGraphElem(series, 1, ReturnGraphElem(RGB(200, 0, 0), 1, (char*)"Sales"));
//   DIAG_DISP disp = ReturnDiagDisp({0, 0, 300, 200}, RGB(255, 255, 255), 0, 0, 4, 0, 12,
//                                   0, 10, (char*)"Quarter", (char*)"EUR", names, 9, 1,
//                                   series, 2, 0x3FF);
//   HBITMAP bitmap = nullptr;
//   int status = CreateDiag(table, disp, &bitmap, KESTRA_DRAW_NEW, KESTRA_KIND_BARS);
//   ...
//   DeleteObject(bitmap);
//   FreeTabGr(&table);
#ifndef KESTRA_H
#define KESTRA_H

#ifdef _WIN32
#include <windows.h>
#include <ddraw.h>
// Hosts import the exports; the DLL's own build exports them; a static
// build of the same code (the tests) does neither.
#if defined(KESTRA_BUILDING_DLL)
#define KESTRA_API __declspec(dllexport)
#elif defined(KESTRA_STATIC)
#define KESTRA_API
#else
#define KESTRA_API __declspec(dllimport)
#endif
#else
#include "kestra_win32.h"  // also defines KESTRA_API
#endif

#include <cstdint>

// Status codes of the drawing exports, one row each: name, value, and the
// text KestraStatusText gives (README's table lists the same rows word for
// word). 0 and 1001 to 1013 are the original set; the codes from 1014 on
// have one meaning each. In more detail: 1004 also stands for a picture
// whose width or height is <= 0 or too large; 1005 also for mode 2 with a
// handle that is no bitmap; 1015 for argStep <= 0 or not finite, argFrom or
// argTo not finite (unless argFrom > argTo: one sample), a step too small to
// move the argument, or more than 10^8 samples; 1016 leaves an existing file
// intact.
#define KESTRA_STATUS_CODES(X)                                                               \
  X(KESTRA_OK, 0, "success")                                                                 \
  X(KESTRA_MODE_UNKNOWN, 1001, "bitmap mode (low three bits) is 3 to 7")                     \
  X(KESTRA_MODE_ZERO, 1002, "bitmap mode (low three bits) is 0")                             \
  X(KESTRA_NO_DC, 1003, "the memory device context cannot be created")                       \
  X(KESTRA_NO_BITMAP, 1004, "the picture bitmap cannot be created (or its size is out of range)") \
  X(KESTRA_NO_CURRENT_BITMAP, 1005, "after drawing the device context holds no bitmap")      \
  X(KESTRA_BAD_EXPRESSION, 1006, "the expression is refused")                                \
  X(KESTRA_BAD_FONT_HEIGHT, 1007, "caption font height outside 1 to 99")                     \
  X(KESTRA_SURFACE_MODE_NEW, 1008, "a surface target called with mode 1")                    \
  X(KESTRA_BAD_TABLE, 1009, "the table has fewer than 1 row or 2 columns, or no values")     \
  X(KESTRA_HTML_OPEN, 1010, "the HTML file cannot be opened or read")                        \
  X(KESTRA_HTML_NO_TABLE, 1011, "the HTML file holds no usable table")                       \
  X(KESTRA_WORKBOOK, 1012, "the workbook cannot be read as asked")                           \
  X(KESTRA_BAD_RANGE, 1013, "the range text is malformed")                                   \
  X(KESTRA_NOT_IMPLEMENTED, 1014, "this target form is not available in this build")         \
  X(KESTRA_BAD_SAMPLING, 1015, "plot sampling cannot end (step, bounds or sample count)")    \
  X(KESTRA_FILE_WRITE, 1016, "the BMP file could not be written")                            \
  X(KESTRA_FILE_LOAD, 1017, "mode 2: no loadable BMP picture at the path")                   \
  X(KESTRA_PICTURE_SIZE, 1018, "mode 2: the picture's size differs from the requested size") \
  X(KESTRA_SURFACE_DC, 1019, "the surface could not lend a device context")                  \
  X(KESTRA_INTERNAL, 1020, "an unexpected internal failure (for example no memory)")

#define KESTRA_STATUS_ENUMERATOR(name, value, text) name = value,
enum KestraStatus : int { KESTRA_STATUS_CODES(KESTRA_STATUS_ENUMERATOR) };
#undef KESTRA_STATUS_ENUMERATOR

// A one-line English text for a status code ("success", "the expression is
// refused", ...); "unknown status" for a code outside the table. The text is
// static: never free it.
KESTRA_API const char* KestraStatusText(int status);

// bitmapMode values of every drawing export; only the low three bits count.
enum : unsigned long {
  KESTRA_DRAW_NEW = 1,   // draw a new picture
  KESTRA_DRAW_OVER = 2,  // draw over the caller's picture
};

// Diagram kinds (last argument of every diagram export).
enum : unsigned long {
  KESTRA_KIND_LINES = 1,
  KESTRA_KIND_LINES_MARKERS = 2,
  KESTRA_KIND_BARS = 101,
};

// arrowStyle of DIAG_DISP and OPTION_RECT: plain axis ends or arrow heads.
enum : std::int32_t {
  KESTRA_ARROWS_PLAIN = 1,
  KESTRA_ARROWS_HEADS = 2,
};

// Bits of arrowMask: the axis ends that get a head when arrowStyle is
// KESTRA_ARROWS_HEADS.
enum KestraArrowEnd : std::uint8_t {
  KESTRA_ARROW_TOP = 0x1,     // top end of the vertical axis
  KESTRA_ARROW_RIGHT = 0x2,   // right end of the horizontal axis
  KESTRA_ARROW_BOTTOM = 0x4,  // bottom end of the vertical axis
  KESTRA_ARROW_LEFT = 0x8,    // left end of the horizontal axis
};

// Table of values: `rows` series over `cols` categories, row-major.
struct TAB_GR {
  std::int32_t rows;
  std::int32_t cols;
  double* values;
};

// One series: colour, pen width, line style (1..5) or bar fill (1..7), name.
struct GRAPH_ELEM {
  std::uint32_t color;
  std::uint8_t width;
  std::int32_t style;
  char name[40];
};

// Everything about the look of a diagram. Flags hold 0 or 1.
struct DIAG_DISP {
  tagRECT rcPicture;
  std::uint32_t fillBackground;
  std::uint32_t backColor;
  std::uint32_t drawFrame;
  tagRECT rcFrame;
  std::uint32_t frameColor;
  std::uint32_t drawAxisX;
  std::uint32_t drawAxisY;
  std::uint32_t axisColor;
  std::int32_t arrowStyle;
  std::uint16_t marginBottom;
  std::uint16_t marginLeft;
  std::uint8_t arrowMask;
  tagRECT rcPlot;
  double baseValue;
  std::uint32_t showLegend;
  std::uint16_t legendTop;
  std::uint16_t legendLeft;
  std::uint16_t legendBottom;
  std::uint16_t legendRight;
  std::uint32_t legendFrame;
  std::uint32_t legendFrameColor;
  std::uint32_t legendFill;
  std::uint32_t legendBackColor;
  std::uint16_t legendFontHeight;
  std::uint32_t legendTextColor;
  std::uint32_t showGrid;
  std::uint16_t gridStyle;
  std::uint32_t gridVertical;
  std::uint16_t divisions;
  std::uint32_t gridColor;
  std::uint32_t showCaptions;
  std::uint32_t captionColor;
  std::uint16_t captionFontHeight;
  std::uint32_t showBarValues;
  std::uint32_t barValueColor;
  std::uint16_t barValueFontHeight;
  char captionX[20];
  char captionY[20];
  std::uint32_t showCategoryLabels;
  std::uint32_t showValueLabels;
  char* categoryLabels;
  std::uint16_t categoryLabelsLength;
  std::uint16_t legendEntries;
  GRAPH_ELEM* elements;
  std::uint8_t decimals;
};

// Settings of one function plot.
struct OPTION_RECT {
  tagRECT rcPicture;
  std::uint32_t fillBackground;
  std::uint32_t backColor;
  std::uint32_t graphColor;
  std::uint32_t drawFrame;
  tagRECT rcFrame;
  std::uint32_t frameColor;
  std::uint32_t drawAxisX;
  std::uint32_t drawAxisY;
  std::uint32_t axisColor;
  std::int32_t arrowStyle;
  std::uint8_t arrowMask;
  tagRECT rcPlot;
  double xMin;
  double yMin;
  double xMax;
  double yMax;
  std::uint32_t argOnX;
  double argFrom;
  double argTo;
  double argStep;
  std::uint32_t textColor;
  std::int32_t fontHeight;
  char captionX[20];
  char captionY[20];
  std::uint8_t showZero;
};

// A worksheet (1-based index) and a cell range such as "B2:E7".
struct EXCEL_TAB {
  std::int32_t sheetIndex;
  char cellRange[20];
};

// Builders ----------------------------------------------------------------

// A table of rows x cols values, taken from `first` and the following double
// arguments row by row. The array belongs to the caller: release it with
// FreeTabGr. When rows x cols is not positive, overflows or cannot be
// allocated, the table has values == nullptr and CreateDiag refuses it (1009).
KESTRA_API TAB_GR CreateTabGr(int rows, int cols, double first, ...);

// Releases the value array of a table made by CreateTabGr and clears it.
KESTRA_API void FreeTabGr(TAB_GR* table);

// Bits of ReturnDiagDisp's flag word.
enum : unsigned long {
  KESTRA_DIAG_BACKGROUND = 0x001,
  KESTRA_DIAG_FRAME = 0x002,
  KESTRA_DIAG_AXIS_X = 0x004,
  KESTRA_DIAG_AXIS_Y = 0x008,
  KESTRA_DIAG_ARROWS = 0x010,
  KESTRA_DIAG_LEGEND = 0x020,
  KESTRA_DIAG_GRID = 0x040,
  KESTRA_DIAG_CAPTIONS = 0x080,
  KESTRA_DIAG_CATEGORY_LABELS = 0x100,
  KESTRA_DIAG_VALUE_LABELS = 0x200,
};

// Bits of ReturnOptionRect's flag word.
enum : unsigned long {
  KESTRA_PLOT_BACKGROUND = 0x01,
  KESTRA_PLOT_FRAME = 0x02,
  KESTRA_PLOT_AXIS_X = 0x04,
  KESTRA_PLOT_AXIS_Y = 0x08,
  KESTRA_PLOT_ARROWS = 0x10,
  KESTRA_PLOT_ARGUMENT_VERTICAL = 0x20,  // the argument on the vertical scale ("x=...")
  KESTRA_PLOT_ZERO_MARK = 0x40,
};

// A display record from plain arguments and the option flag word
// (KESTRA_DIAG_*). Captions are cut to 19 characters; null counts as empty.
KESTRA_API DIAG_DISP ReturnDiagDisp(tagRECT picture, unsigned long backColor,
                                    unsigned long frameColor, unsigned long axisColor,
                                    unsigned short divisions, unsigned long textColor,
                                    unsigned short captionFontHeight,
                                    unsigned long barValueColor,
                                    unsigned short barValueFontHeight, char* captionX,
                                    char* captionY, void* categoryLabels,
                                    unsigned short categoryLabelsLength,
                                    unsigned short legendEntries, void* elements,
                                    unsigned char decimals, unsigned long flags);

// A series description of width 1; a name of 40 or more characters becomes " ".
KESTRA_API GRAPH_ELEM ReturnGraphElem(unsigned long color, int style, char* name);

// Copies `count` series descriptions (first, then the variadic ones) into
// `buffer`, 52 bytes apart on a 32-bit build. Returns 0.
KESTRA_API int CreateGraphElem(void* buffer, unsigned short count, GRAPH_ELEM first, ...);

// Appends `count` texts with their terminators to `buffer`: the category
// label buffer. Texts are cut to 255 characters; null counts as empty. Returns 0.
KESTRA_API int CreateTextAxis(char* buffer, unsigned short count, char* first, ...);

// A plot record from plain arguments and a flag word (KESTRA_PLOT_*).
// Captions are cut to 19 characters.
KESTRA_API OPTION_RECT ReturnOptionRect(tagRECT picture, unsigned long backColor,
                                        unsigned long graphColor, unsigned long frameColor,
                                        unsigned long axisColor, double xMin, double yMin,
                                        double xMax, double yMax, double argFrom, double argTo,
                                        unsigned long textColor, int fontHeight,
                                        char* captionX, char* captionY, unsigned long flags);

// Drawing exports -----------------------------------------------------------
// bitmapMode: only the low three bits count. KESTRA_DRAW_NEW (1) draws a new
// picture, KESTRA_DRAW_OVER (2) draws over the caller's (the bitmap in
// *bitmap, the surface, or the BMP file at the path). Every export returns a
// KestraStatus.
//
// Bitmap forms that cannot make or take their picture leave *bitmap null:
// KESTRA_NO_BITMAP when a new picture cannot be made, KESTRA_NO_CURRENT_BITMAP
// when the caller's handle in mode 2 is null, not a bitmap, or a bitmap
// selected into another device context. The caller's bitmap itself is never
// changed or deleted and stays the caller's: keep its handle to delete it. A
// null `bitmap` pointer gives the same codes.
//
// Surface forms draw a new picture, copy its top-left block of rcPlot's size
// to the surface at (0, 0) and release it; they must be called with mode 2
// (mode 1 gives 1008). File forms write a 24-bit BMP: mode 1 a new picture,
// mode 2 over the picture stored under the path, which must be a BMP of
// rcPicture's size (else 1017 or 1018). The file is replaced whole or not at
// all: a failed write (1016) leaves an existing picture as it was.

KESTRA_API int CreateDiag(TAB_GR table, DIAG_DISP disp, HBITMAP* bitmap,
                          unsigned long bitmapMode, unsigned long diagramKind);
KESTRA_API int CreateDiag(TAB_GR table, DIAG_DISP disp, IDirectDrawSurface* surface,
                          unsigned long bitmapMode, unsigned long diagramKind);
KESTRA_API int CreateDiag(TAB_GR table, DIAG_DISP disp, char* path,
                          unsigned long bitmapMode, unsigned long diagramKind);

KESTRA_API int CreateGraph(char* expression, OPTION_RECT options, HBITMAP* bitmap,
                           unsigned long bitmapMode);
KESTRA_API int CreateGraph(char* expression, OPTION_RECT options, IDirectDrawSurface* surface,
                           unsigned long bitmapMode);
KESTRA_API int CreateGraph(char* expression, OPTION_RECT options, char* path,
                           unsigned long bitmapMode);

// The numbers of the first table of the HTML file at htmlPath, drawn by the
// CreateDiag form of the same target. Every "tr" is a row and every "td" cell
// a value (the number at the start of its text, 0 when there is none); the
// cells are cut into rows of (cells / rows) values. At most 999 tags and
// values are taken. 1010: the file cannot be opened or read; 1011: no "tr" or
// no "td", or a '<' inside a tag; otherwise CreateDiag's codes.
KESTRA_API int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, HBITMAP* bitmap,
                              unsigned long bitmapMode, unsigned long diagramKind);
KESTRA_API int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, IDirectDrawSurface* surface,
                              unsigned long bitmapMode, unsigned long diagramKind);
KESTRA_API int CreateDiagHTML(char* htmlPath, DIAG_DISP disp, char* path,
                              unsigned long bitmapMode, unsigned long diagramKind);

// A diagram of a cell range of one worksheet ("B2:E7": worksheet rows become
// series) of an .xlsx, .xls or .csv workbook, its kind found from its bytes.
// Text cells are cut to 19 characters, ',' read as '.', then converted like
// atof; numbers and formula results are taken as the workbook stored them.
// Returns KESTRA_BAD_RANGE, KESTRA_WORKBOOK (file, worksheet or cells not
// readable), or what the CreateDiag form of the same target returns.
KESTRA_API int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp,
                             HBITMAP* bitmap, unsigned long bitmapMode,
                             unsigned long diagramKind);
KESTRA_API int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp,
                             IDirectDrawSurface* surface, unsigned long bitmapMode,
                             unsigned long diagramKind);
KESTRA_API int CreateDiagXLS(char* workbookPath, EXCEL_TAB range, DIAG_DISP disp, char* path,
                             unsigned long bitmapMode, unsigned long diagramKind);

#ifndef _WIN32
// A surface over a bitmap of its own, for hosts and tests without DirectDraw:
// it lends a device context holding that bitmap. The bitmap stays the
// surface's; read it with GetDIBits or GetPixel while the surface lives.
KESTRA_API IDirectDrawSurface* CreateMemorySurface(int width, int height);
KESTRA_API HBITMAP MemorySurfaceBitmap(IDirectDrawSurface* surface);
KESTRA_API void DeleteMemorySurface(IDirectDrawSurface* surface);
#endif

#endif  // KESTRA_H
