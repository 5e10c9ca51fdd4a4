// A host that calls every export of kestra.h by its declaration: the
// builders (records returned through the hidden pointer, the variadic ones
// with doubles, strings and records), and each drawing export in its three
// target forms (a new bitmap, a surface of the host's own, a BMP file). It
// writes every picture and a report of the records and statuses into the
// working folder. The same source runs on Linux against libkestra.so and on
// Windows built with the MSVC ABI (clang, lld-link, kestra.lib, no C
// runtime): the two folders must hold the same bytes.
#include "host_os.h"

namespace {

constexpr int kDiagWidth = 240, kDiagHeight = 160;
constexpr int kPlotWidth = 200, kPlotHeight = 140;

// The report: text built without a C library.
char report[8192];
unsigned report_size = 0;
int failures = 0;

void say(const char* text) {
  while (*text && report_size + 1 < sizeof report) report[report_size++] = *text++;
  report[report_size] = 0;
}

// long, not long long: 64-bit division would need a runtime helper on x86.
void say_number(long value) {
  char digits[24];
  int count = 0;
  const bool negative = value < 0;
  unsigned long magnitude = negative ? 0UL - static_cast<unsigned long>(value)
                                     : static_cast<unsigned long>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (negative) say("-");
  char text[2] = {};
  while (count) {
    text[0] = digits[--count];
    say(text);
  }
}

// The bits of a double, in hex: the value exactly, without formatting it.
void say_double(double value) {
  unsigned char bytes[sizeof value];
  __builtin_memcpy(bytes, &value, sizeof value);
  static const char hex[] = "0123456789abcdef";
  char text[3] = {};
  say("0x");
  for (int i = sizeof value - 1; i >= 0; --i) {
    text[0] = hex[bytes[i] >> 4];
    text[1] = hex[bytes[i] & 15];
    say(text);
  }
}

void field(const char* name, long value) {
  say(" ");
  say(name);
  say("=");
  say_number(value);
}

void status_line(const char* what, int status) {
  say(what);
  field("status", status);
  say(" (");
  say(KestraStatusText(status));
  say(")\n");
}

void check(bool ok, const char* what) {
  if (ok) return;
  ++failures;
  say("FAIL ");
  say(what);
  say("\n");
}

unsigned length(const char* text) {
  unsigned size = 0;
  while (text[size]) ++size;
  return size;
}

// A bitmap as a 32-bit BMP file (bottom-up rows, as GetDIBits gives them).
unsigned char picture_file[1 << 20];

void put32(unsigned char* at, unsigned value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool write_bitmap(const char* name, HBITMAP bitmap) {
  BITMAP size{};
  if (!bitmap || GetObjectA(bitmap, sizeof size, &size) != sizeof size) return false;
  const unsigned width = static_cast<unsigned>(size.bmWidth);
  const unsigned height = static_cast<unsigned>(size.bmHeight);
  const unsigned data = width * height * 4, header = 54;
  if (header + data > sizeof picture_file) return false;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, size.bmHeight, 1, 32, BI_RGB,
                    0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  const int rows = GetDIBits(dc, bitmap, 0, height, picture_file + header, &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (rows != static_cast<int>(height)) return false;
  for (unsigned i = 0; i < header; ++i) picture_file[i] = 0;
  picture_file[0] = 'B';
  picture_file[1] = 'M';
  put32(picture_file + 2, header + data);
  put32(picture_file + 10, header);
  put32(picture_file + 14, 40);
  put32(picture_file + 18, width);
  put32(picture_file + 22, height);
  put32(picture_file + 26, 1 | 32 << 16);  // planes, bits per pixel
  put32(picture_file + 34, data);
  return host_os::write_file(name, picture_file, header + data);
}

// The records every drawing export takes, made by the builders.
struct Records {
  TAB_GR table;
  GRAPH_ELEM series[3];
  char labels[64];
  DIAG_DISP disp;
  OPTION_RECT plot;
  EXCEL_TAB range;
};
Records in;

void report_series(const GRAPH_ELEM& series) {
  say("GRAPH_ELEM");
  field("color", series.color);
  field("width", series.width);
  field("style", series.style);
  say(" name=");
  say(series.name);
  say("\n");
}

void build_records() {
  in.table = CreateTabGr(3, 4, 12.5, 17.0, 9.5, 21.0, 8.0, 11.5, 14.0, 16.5, 5.5, 7.0, 10.0, 12.0);
  say("TAB_GR");
  field("rows", in.table.rows);
  field("cols", in.table.cols);
  check(in.table.values != nullptr, "CreateTabGr gives values");
  for (int i = 0; in.table.values && i < in.table.rows * in.table.cols; ++i) {
    say(" ");
    say_double(in.table.values[i]);
  }
  say("\n");

  char north[] = "North", south[] = "South", east[] = "East";
  const GRAPH_ELEM made[3] = {ReturnGraphElem(RGB(200, 30, 30), 1, north),
                              ReturnGraphElem(RGB(30, 160, 30), 2, south),
                              ReturnGraphElem(RGB(30, 30, 200), 5, east)};
  for (const GRAPH_ELEM& series : made) report_series(series);
  // The variadic copy takes the records by value.
  status_line("CreateGraphElem", CreateGraphElem(in.series, 3, made[0], made[1], made[2]));
  for (const GRAPH_ELEM& series : in.series) report_series(series);

  char q1[] = "Q1", q2[] = "Q2", q3[] = "Q3", q4[] = "Quarter four";
  status_line("CreateTextAxis", CreateTextAxis(in.labels, 4, q1, q2, q3, q4));
  say("labels=");
  for (const char* label = in.labels; *label; label += length(label) + 1) {
    say(label);
    say("|");
  }
  say("\n");

  char quarter[] = "Quarter", sales[] = "Sales, kEUR";
  in.disp = ReturnDiagDisp({0, 0, kDiagWidth, kDiagHeight}, RGB(250, 250, 240), RGB(0, 0, 0),
                           RGB(40, 40, 40), 5, RGB(20, 20, 90), 11, RGB(90, 20, 20), 9, quarter,
                           sales, in.labels, 22, 3, in.series, 1, 0x3FF);
  say("DIAG_DISP");
  field("right", in.disp.rcPicture.right);
  field("bottom", in.disp.rcPicture.bottom);
  field("backColor", in.disp.backColor);
  field("divisions", in.disp.divisions);
  field("captionFontHeight", in.disp.captionFontHeight);
  field("legendEntries", in.disp.legendEntries);
  field("labelsLength", in.disp.categoryLabelsLength);
  field("decimals", in.disp.decimals);
  field("showGrid", in.disp.showGrid);
  say(" captionY=");
  say(in.disp.captionY);
  say("\n");
  check(in.disp.elements == in.series && in.disp.categoryLabels == in.labels,
        "ReturnDiagDisp keeps the host's buffers");

  char x[] = "x", y[] = "y = f(x)";
  in.plot = ReturnOptionRect({0, 0, kPlotWidth, kPlotHeight}, RGB(255, 255, 255), RGB(0, 0, 200),
                             RGB(0, 0, 0), RGB(60, 60, 60), -7.0, -3.0, 7.0, 3.0, -6.5, 6.5,
                             RGB(0, 0, 0), 10, x, y, 0x5F);
  say("OPTION_RECT");
  field("right", in.plot.rcPicture.right);
  field("graphColor", in.plot.graphColor);
  field("fontHeight", in.plot.fontHeight);
  field("argOnX", in.plot.argOnX);
  field("showZero", in.plot.showZero);
  say(" xMin=");
  say_double(in.plot.xMin);
  say(" argTo=");
  say_double(in.plot.argTo);
  say(" argStep=");
  say_double(in.plot.argStep);
  say(" captionY=");
  say(in.plot.captionY);
  say("\n");

  in.range = EXCEL_TAB{1, "B1:E3"};
}

// One drawing export in its three forms: a new bitmap (mode 1), the
// host's surface (mode 2), a new BMP file (mode 1); each picture is written
// as <name>-<form>.bmp.
template <class Draw>
void draw_forms(const char* name, int width, int height, const Draw& draw) {
  char file[64] = {};
  auto file_name = [&](const char* form) {
    const char* parts[] = {name, "-", form, ".bmp"};
    unsigned at = 0;
    for (const char* part : parts)
      while (*part) file[at++] = *part++;
    file[at] = 0;
    return file;
  };
  say(name);
  say("\n");

  HBITMAP bitmap = nullptr;
  status_line("  bitmap", draw(&bitmap, 1UL));
  check(write_bitmap(file_name("bitmap"), bitmap), "the new bitmap is written");
  if (bitmap) DeleteObject(bitmap);

  IDirectDrawSurface* surface = host_os::make_surface(width, height);
  check(surface != nullptr, "the host makes a surface");
  status_line("  surface", draw(surface, 2UL));
  check(write_bitmap(file_name("surface"), host_os::surface_bitmap(surface)),
        "the surface is written");
  host_os::free_surface(surface);

  status_line("  file", draw(file_name("file"), 1UL));
}

void draw_pictures() {
  draw_forms("diag", kDiagWidth, kDiagHeight, [](auto target, unsigned long mode) {
    return CreateDiag(in.table, in.disp, target, mode, KESTRA_KIND_BARS);
  });

  char expression[] = "y=sin(x)*2+x/4";
  draw_forms("graph", kPlotWidth, kPlotHeight, [&](auto target, unsigned long mode) {
    return CreateGraph(expression, in.plot, target, mode);
  });

  static const char html[] =
      "<table><tr><td>3</td><td>5</td><td>4</td><td>6</td></tr>"
      "<tr><td>2</td><td>4</td><td>7</td><td>5</td></tr></table>";
  char html_name[] = "table.html";
  check(host_os::write_file(html_name, html, sizeof html - 1), "the HTML table is written");
  draw_forms("html", kDiagWidth, kDiagHeight, [&](auto target, unsigned long mode) {
    return CreateDiagHTML(html_name, in.disp, target, mode, KESTRA_KIND_LINES);
  });

  static const char csv[] = "name,q1,q2,q3,q4\nnorth,4,6,5,8\nsouth,3,2,6,4\n";
  char csv_name[] = "book.csv";
  check(host_os::write_file(csv_name, csv, sizeof csv - 1), "the workbook is written");
  draw_forms("xls", kDiagWidth, kDiagHeight, [&](auto target, unsigned long mode) {
    return CreateDiagXLS(csv_name, in.range, in.disp, target, mode, KESTRA_KIND_LINES_MARKERS);
  });

  char refused[] = "y=sin(";
  HBITMAP none = nullptr;
  status_line("refused expression", CreateGraph(refused, in.plot, &none, 1UL));
  check(none == nullptr, "a refused expression gives no bitmap");
}

}  // namespace

int host_main() {
  build_records();
  draw_pictures();
  FreeTabGr(&in.table);
  check(in.table.values == nullptr && in.table.rows == 0, "FreeTabGr clears the table");
  say(failures ? "failures\n" : "done\n");
  host_os::print(report);
  char report_name[] = "report.txt";
  return host_os::write_file(report_name, report, report_size) && !failures ? 0 : 1;
}
