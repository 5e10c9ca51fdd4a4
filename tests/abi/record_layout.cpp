// The public records' binary layout, checked at compile time: natively by the
// test build, for x86 and x64 Windows by both Windows builds (mingw) and by
// scripts/test-windows-msvc.sh (clang in MSVC mode), where the sizes and
// offsets must be exactly those hosts were built against.
#include <cstddef>

#include "kestra.h"

#define KESTRA_OFFSET(record, field, offset) \
  static_assert(offsetof(record, field) == (offset), #record "." #field)

static_assert(sizeof(tagRECT) == 16);

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TAB_GR) == 12);
static_assert(sizeof(GRAPH_ELEM) == 52);
static_assert(sizeof(DIAG_DISP) == 240);
static_assert(sizeof(OPTION_RECT) == 208);
static_assert(sizeof(EXCEL_TAB) == 24);
KESTRA_OFFSET(TAB_GR, values, 8);
KESTRA_OFFSET(DIAG_DISP, categoryLabels, 224);
KESTRA_OFFSET(DIAG_DISP, categoryLabelsLength, 228);
KESTRA_OFFSET(DIAG_DISP, legendEntries, 230);
KESTRA_OFFSET(DIAG_DISP, elements, 232);
KESTRA_OFFSET(DIAG_DISP, decimals, 236);
#elif defined(_WIN64) || defined(__LP64__)
// The same fields, natural alignment with 8-byte pointers.
static_assert(sizeof(TAB_GR) == 16);
static_assert(sizeof(GRAPH_ELEM) == 52);
static_assert(sizeof(DIAG_DISP) == 256);
static_assert(sizeof(OPTION_RECT) == 208);
static_assert(sizeof(EXCEL_TAB) == 24);
KESTRA_OFFSET(TAB_GR, values, 8);
KESTRA_OFFSET(DIAG_DISP, categoryLabels, 224);
KESTRA_OFFSET(DIAG_DISP, categoryLabelsLength, 232);
KESTRA_OFFSET(DIAG_DISP, legendEntries, 234);
KESTRA_OFFSET(DIAG_DISP, elements, 240);
KESTRA_OFFSET(DIAG_DISP, decimals, 248);
#else
#error "no record layout for this target"
#endif

// Fields before the first pointer lie at the same offsets on every target.
KESTRA_OFFSET(TAB_GR, cols, 4);
KESTRA_OFFSET(GRAPH_ELEM, width, 4);
KESTRA_OFFSET(GRAPH_ELEM, style, 8);
KESTRA_OFFSET(GRAPH_ELEM, name, 12);
KESTRA_OFFSET(DIAG_DISP, fillBackground, 16);
KESTRA_OFFSET(DIAG_DISP, backColor, 20);
KESTRA_OFFSET(DIAG_DISP, drawFrame, 24);
KESTRA_OFFSET(DIAG_DISP, rcFrame, 28);
KESTRA_OFFSET(DIAG_DISP, frameColor, 44);
KESTRA_OFFSET(DIAG_DISP, drawAxisX, 48);
KESTRA_OFFSET(DIAG_DISP, drawAxisY, 52);
KESTRA_OFFSET(DIAG_DISP, axisColor, 56);
KESTRA_OFFSET(DIAG_DISP, arrowStyle, 60);
KESTRA_OFFSET(DIAG_DISP, marginBottom, 64);
KESTRA_OFFSET(DIAG_DISP, marginLeft, 66);
KESTRA_OFFSET(DIAG_DISP, arrowMask, 68);
KESTRA_OFFSET(DIAG_DISP, rcPlot, 72);
KESTRA_OFFSET(DIAG_DISP, baseValue, 88);
KESTRA_OFFSET(DIAG_DISP, showLegend, 96);
KESTRA_OFFSET(DIAG_DISP, legendTop, 100);
KESTRA_OFFSET(DIAG_DISP, legendLeft, 102);
KESTRA_OFFSET(DIAG_DISP, legendBottom, 104);
KESTRA_OFFSET(DIAG_DISP, legendRight, 106);
KESTRA_OFFSET(DIAG_DISP, legendFrame, 108);
KESTRA_OFFSET(DIAG_DISP, legendFrameColor, 112);
KESTRA_OFFSET(DIAG_DISP, legendFill, 116);
KESTRA_OFFSET(DIAG_DISP, legendBackColor, 120);
KESTRA_OFFSET(DIAG_DISP, legendFontHeight, 124);
KESTRA_OFFSET(DIAG_DISP, legendTextColor, 128);
KESTRA_OFFSET(DIAG_DISP, showGrid, 132);
KESTRA_OFFSET(DIAG_DISP, gridStyle, 136);
KESTRA_OFFSET(DIAG_DISP, gridVertical, 140);
KESTRA_OFFSET(DIAG_DISP, divisions, 144);
KESTRA_OFFSET(DIAG_DISP, gridColor, 148);
KESTRA_OFFSET(DIAG_DISP, showCaptions, 152);
KESTRA_OFFSET(DIAG_DISP, captionColor, 156);
KESTRA_OFFSET(DIAG_DISP, captionFontHeight, 160);
KESTRA_OFFSET(DIAG_DISP, showBarValues, 164);
KESTRA_OFFSET(DIAG_DISP, barValueColor, 168);
KESTRA_OFFSET(DIAG_DISP, barValueFontHeight, 172);
KESTRA_OFFSET(DIAG_DISP, captionX, 174);
KESTRA_OFFSET(DIAG_DISP, captionY, 194);
KESTRA_OFFSET(DIAG_DISP, showCategoryLabels, 216);
KESTRA_OFFSET(DIAG_DISP, showValueLabels, 220);
KESTRA_OFFSET(OPTION_RECT, fillBackground, 16);
KESTRA_OFFSET(OPTION_RECT, backColor, 20);
KESTRA_OFFSET(OPTION_RECT, graphColor, 24);
KESTRA_OFFSET(OPTION_RECT, drawFrame, 28);
KESTRA_OFFSET(OPTION_RECT, rcFrame, 32);
KESTRA_OFFSET(OPTION_RECT, frameColor, 48);
KESTRA_OFFSET(OPTION_RECT, drawAxisX, 52);
KESTRA_OFFSET(OPTION_RECT, drawAxisY, 56);
KESTRA_OFFSET(OPTION_RECT, axisColor, 60);
KESTRA_OFFSET(OPTION_RECT, arrowStyle, 64);
KESTRA_OFFSET(OPTION_RECT, arrowMask, 68);
KESTRA_OFFSET(OPTION_RECT, rcPlot, 72);
KESTRA_OFFSET(OPTION_RECT, xMin, 88);
KESTRA_OFFSET(OPTION_RECT, yMin, 96);
KESTRA_OFFSET(OPTION_RECT, xMax, 104);
KESTRA_OFFSET(OPTION_RECT, yMax, 112);
KESTRA_OFFSET(OPTION_RECT, argOnX, 120);
KESTRA_OFFSET(OPTION_RECT, argFrom, 128);
KESTRA_OFFSET(OPTION_RECT, argTo, 136);
KESTRA_OFFSET(OPTION_RECT, argStep, 144);
KESTRA_OFFSET(OPTION_RECT, textColor, 152);
KESTRA_OFFSET(OPTION_RECT, fontHeight, 156);
KESTRA_OFFSET(OPTION_RECT, captionX, 160);
KESTRA_OFFSET(OPTION_RECT, captionY, 180);
KESTRA_OFFSET(OPTION_RECT, showZero, 200);
KESTRA_OFFSET(EXCEL_TAB, cellRange, 4);
