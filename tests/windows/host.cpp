// A host as hosts of the DLL are written: loads kestra.dll with LoadLibrary,
// finds every export by its MSVC-decorated name (and the plain names of the
// ones not overloaded) with GetProcAddress, calls each once and checks what
// it gives back. Then checks that the host called every export the header
// declares (the list the build wrote next to the .def file). On 32-bit
// Windows it also calls two record-returning exports as an MSVC caller does.
//   host.exe EXPORT_LIST WORK_FOLDER
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "kestra.h"

// Pointer codes of MSVC's decorated names: 64-bit pointers carry an E.
#ifdef _WIN64
#define KP "PEA"   // T*
#define KPC "PEB"  // const T*
#else
#define KP "PA"
#define KPC "PB"
#endif

namespace {

int failures = 0;
std::set<std::string> called;
HMODULE dll = nullptr;

void check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

// The export `name`, typed as the header declares it.
template <class Function>
Function export_address(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// The export under `decorated`, counted as called.
template <class Function>
Function find(const char* decorated) {
  called.insert(decorated);
  auto* address = export_address<Function>(decorated);
  check(address != nullptr, std::string("found ") + decorated);
  return address;
}

// A single (not overloaded) export is also found under its plain name.
void check_plain_name(const char* plain, const char* decorated) {
  const FARPROC by_plain = GetProcAddress(dll, plain);
  check(by_plain != nullptr && by_plain == GetProcAddress(dll, decorated),
        std::string("plain name ") + plain);
}

#ifdef __i386__
// Calls a function returning a record through the hidden result pointer the
// way a 32-bit MSVC caller does, and reports how many argument bytes were
// still on the stack after the call (the caller pops them all, the hidden
// pointer included) and what came back in EAX (the hidden pointer).
struct RawCall {
  void* function = nullptr;
  std::uint32_t words[8] = {};  // words[0] is the hidden result pointer
  std::uint32_t count = 0;
};
RawCall raw_call;  // static storage: addressed without the stack pointer

struct RawResult {
  std::uint32_t bytes_left;
  void* eax;
};

RawResult call_raw() {
  std::uint32_t left = 0;
  void* eax = nullptr;
  asm volatile(
      "movl %%esp, %%ebx\n\t"
      "movl %c[count], %%ecx\n\t"
      "1:\n\t"
      "pushl %c[words]-4(,%%ecx,4)\n\t"
      "loop 1b\n\t"
      "call *%c[function]\n\t"
      "movl %%ebx, %%ecx\n\t"
      "subl %%esp, %%ecx\n\t"
      "movl %%ebx, %%esp\n\t"
      : "=a"(eax), "=c"(left)
      : [count] "i"(&raw_call.count), [words] "i"(raw_call.words),
        [function] "i"(&raw_call.function)
      : "ebx", "edx", "memory", "cc");
  return {left, eax};
}

template <class Record>
void check_caller_pops(const char* decorated, Record* result,
                       std::initializer_list<std::uint32_t> arguments) {
  raw_call.function = export_address<void*>(decorated);
  if (!raw_call.function) return check(false, std::string("raw call ") + decorated);
  raw_call.count = 1;
  raw_call.words[0] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(result));
  for (std::uint32_t word : arguments) raw_call.words[raw_call.count++] = word;
  const RawResult after = call_raw();
  check(after.bytes_left == 4 * raw_call.count,
        std::string("caller pops every argument and the result pointer: ") + decorated);
  check(after.eax == result, std::string("result pointer comes back in EAX: ") + decorated);
}

std::uint32_t word(const void* pointer) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}
#endif

std::string read_all(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool is_bmp_file(const std::string& path, long width, long height) {
  const std::string bytes = read_all(path);
  if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return false;
  std::int32_t w = 0, h = 0;
  std::memcpy(&w, bytes.data() + 18, 4);
  std::memcpy(&h, bytes.data() + 22, 4);
  return w == width && h == height;
}

// The records every drawing export takes.
struct Inputs {
  TAB_GR table{};
  GRAPH_ELEM series[2]{};
  char labels[64]{};
  DIAG_DISP disp{};
  OPTION_RECT plot{};
};

void check_builders(Inputs& in) {
  using StatusText = const char* (*)(int);
  const auto status_text = find<StatusText>("?KestraStatusText@@YA" KPC "DH@Z");
  check(status_text && std::strcmp(status_text(KESTRA_OK), "success") == 0, "KestraStatusText");
  check_plain_name("KestraStatusText", "?KestraStatusText@@YA" KPC "DH@Z");

  using CreateTabGr = TAB_GR (*)(int, int, double, ...);
  const auto create_table = find<CreateTabGr>("?CreateTabGr@@YA?AUTAB_GR@@HHNZZ");
  if (create_table) in.table = create_table(2, 3, 1.0, 4.0, 2.0, 3.0, 1.0, 2.5);
  check(in.table.rows == 2 && in.table.cols == 3 && in.table.values &&
            in.table.values[5] == 2.5,
        "CreateTabGr fills a 2 x 3 table");
  check_plain_name("CreateTabGr", "?CreateTabGr@@YA?AUTAB_GR@@HHNZZ");

  using FreeTabGr = void (*)(TAB_GR*);
  const auto free_table = find<FreeTabGr>("?FreeTabGr@@YAX" KP "UTAB_GR@@@Z");
  TAB_GR spare = create_table ? create_table(1, 2, 1.0, 2.0) : TAB_GR{};
  if (free_table) free_table(&spare);
  check(spare.values == nullptr && spare.rows == 0, "FreeTabGr clears the table");
  check_plain_name("FreeTabGr", "?FreeTabGr@@YAX" KP "UTAB_GR@@@Z");

  using ReturnGraphElem = GRAPH_ELEM (*)(unsigned long, int, char*);
  const auto graph_elem = find<ReturnGraphElem>("?ReturnGraphElem@@YA?AUGRAPH_ELEM@@KH" KP "D@Z");
  char sales[] = "Sales", costs[] = "Costs";
  if (graph_elem) {
    in.series[0] = graph_elem(RGB(200, 0, 0), 1, sales);
    in.series[1] = graph_elem(RGB(0, 0, 200), 2, costs);
  }
  check(in.series[1].color == RGB(0, 0, 200) && in.series[1].style == 2 &&
            std::strcmp(in.series[1].name, "Costs") == 0,
        "ReturnGraphElem");
  check_plain_name("ReturnGraphElem", "?ReturnGraphElem@@YA?AUGRAPH_ELEM@@KH" KP "D@Z");

  using CreateGraphElem = int (*)(void*, unsigned short, GRAPH_ELEM, ...);
  const auto copy_elems = find<CreateGraphElem>("?CreateGraphElem@@YAH" KP "XGUGRAPH_ELEM@@ZZ");
  GRAPH_ELEM copied[2]{};
  const int copy_status = copy_elems ? copy_elems(copied, 2, in.series[0], in.series[1]) : -1;
  check(copy_status == 0 && std::memcmp(copied, in.series, sizeof copied) == 0,
        "CreateGraphElem copies 52-byte records");
  check_plain_name("CreateGraphElem", "?CreateGraphElem@@YAH" KP "XGUGRAPH_ELEM@@ZZ");

  using CreateTextAxis = int (*)(char*, unsigned short, char*, ...);
  const auto text_axis = find<CreateTextAxis>("?CreateTextAxis@@YAH" KP "DG0ZZ");
  char q1[] = "Q1", q2[] = "Q2", q3[] = "Q3";
  const int axis_status = text_axis ? text_axis(in.labels, 3, q1, q2, q3) : -1;
  check(axis_status == 0 && std::memcmp(in.labels, "Q1\0Q2\0Q3", 9) == 0, "CreateTextAxis");
  check_plain_name("CreateTextAxis", "?CreateTextAxis@@YAH" KP "DG0ZZ");

  using ReturnDiagDisp = DIAG_DISP (*)(tagRECT, unsigned long, unsigned long, unsigned long,
                                       unsigned short, unsigned long, unsigned short,
                                       unsigned long, unsigned short, char*, char*, void*,
                                       unsigned short, unsigned short, void*, unsigned char,
                                       unsigned long);
  const auto diag_disp =
      find<ReturnDiagDisp>("?ReturnDiagDisp@@YA?AUDIAG_DISP@@UtagRECT@@KKKGKGKG" KP "D1" KP "XGG2EK@Z");
  char quarter[] = "Quarter", eur[] = "EUR";
  if (diag_disp) {
    in.disp = diag_disp({0, 0, 120, 80}, RGB(255, 255, 255), 0, 0, 4, 0, 12, 0, 10, quarter,
                        eur, in.labels, 9, 2, in.series, 2, 0x3FF);
  }
  check(in.disp.rcPicture.right == 120 && in.disp.elements == in.series &&
            std::strcmp(in.disp.captionY, "EUR") == 0 && in.disp.divisions == 4,
        "ReturnDiagDisp");
  check_plain_name("ReturnDiagDisp",
                   "?ReturnDiagDisp@@YA?AUDIAG_DISP@@UtagRECT@@KKKGKGKG" KP "D1" KP "XGG2EK@Z");

  using ReturnOptionRect = OPTION_RECT (*)(tagRECT, unsigned long, unsigned long, unsigned long,
                                           unsigned long, double, double, double, double,
                                           double, double, unsigned long, int, char*, char*,
                                           unsigned long);
  const auto option_rect = find<ReturnOptionRect>(
      "?ReturnOptionRect@@YA?AUOPTION_RECT@@UtagRECT@@KKKKNNNNNNKH" KP "D1K@Z");
  char x[] = "x", y[] = "y";
  if (option_rect) {
    in.plot = option_rect({0, 0, 100, 80}, RGB(255, 255, 255), RGB(0, 0, 255), 0, 0, -4, -2,
                          4, 2, -4, 4, 0, 12, x, y, 0x1F);
  }
  check(in.plot.rcPicture.bottom == 80 && in.plot.xMax == 4 && in.plot.argTo == 4 &&
            in.plot.fontHeight == 12,
        "ReturnOptionRect");
  check_plain_name("ReturnOptionRect",
                   "?ReturnOptionRect@@YA?AUOPTION_RECT@@UtagRECT@@KKKKNNNNNNKH" KP "D1K@Z");
}

#ifdef __i386__
// A 32-bit MSVC caller passes the result pointer first and pops it itself.
void check_record_returns() {
  char name[] = "Net";
  GRAPH_ELEM elem{};
  check_caller_pops("?ReturnGraphElem@@YA?AUGRAPH_ELEM@@KH" KP "D@Z", &elem,
                    {RGB(1, 2, 3), 3, word(name)});
  check(elem.color == RGB(1, 2, 3) && elem.style == 3 && std::strcmp(elem.name, "Net") == 0,
        "raw call filled the GRAPH_ELEM");

  TAB_GR table{};
  const double value = 7.5;
  std::uint32_t halves[2];
  std::memcpy(halves, &value, sizeof halves);
  check_caller_pops("?CreateTabGr@@YA?AUTAB_GR@@HHNZZ", &table, {1, 1, halves[0], halves[1]});
  check(table.rows == 1 && table.values && table.values[0] == 7.5,
        "raw call filled the TAB_GR");
  const auto free_table = export_address<void (*)(TAB_GR*)>("FreeTabGr");
  if (free_table) free_table(&table);
}
#endif

bool bitmap_is(HBITMAP bitmap, long width, long height) {
  BITMAP size{};
  return bitmap && GetObjectA(bitmap, sizeof size, &size) == sizeof size &&
         size.bmWidth == width && size.bmHeight == height;
}

// Each drawing export in its three target forms: a new bitmap (mode 1), a
// surface in mode 1 (refused with 1008) and a new BMP file.
void check_targets(const std::string& what, const char* by_bitmap, const char* by_surface,
                   const char* by_path, const std::string& folder, long width, long height,
                   const auto& call) {
  HBITMAP bitmap = nullptr;
  const int bitmap_status = call(by_bitmap, static_cast<void*>(&bitmap));
  check(bitmap_status == KESTRA_OK && bitmap_is(bitmap, width, height),
        what + " draws a new bitmap");
  if (bitmap) DeleteObject(bitmap);

  check(call(by_surface, static_cast<void*>(nullptr)) == KESTRA_SURFACE_MODE_NEW,
        what + " on a surface refuses mode 1");

  std::string path = folder + "\\" + what + ".bmp";
  DeleteFileA(path.c_str());
  check(call(by_path, static_cast<void*>(path.data())) == KESTRA_OK &&
            is_bmp_file(path, width, height),
        what + " writes a BMP file");
}

void check_drawing(Inputs& in, const std::string& folder) {
  // Every form takes its target as a pointer-sized argument.
  using Diag = int (*)(TAB_GR, DIAG_DISP, void*, unsigned long, unsigned long);
  check_targets(
      "CreateDiag", "?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@" KP KP "UHBITMAP__@@KK@Z",
      "?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@" KP "UIDirectDrawSurface@@KK@Z",
      "?CreateDiag@@YAHUTAB_GR@@UDIAG_DISP@@" KP "DKK@Z", folder, 120, 80,
      [&](const char* name, void* target) {
        const auto draw = find<Diag>(name);
        return draw ? draw(in.table, in.disp, target, 1, KESTRA_KIND_BARS) : -1;
      });

  using Graph = int (*)(char*, OPTION_RECT, void*, unsigned long);
  char expression[] = "y=sin(x)*2";
  check_targets(
      "CreateGraph", "?CreateGraph@@YAH" KP "DUOPTION_RECT@@" KP KP "UHBITMAP__@@K@Z",
      "?CreateGraph@@YAH" KP "DUOPTION_RECT@@" KP "UIDirectDrawSurface@@K@Z",
      "?CreateGraph@@YAH" KP "DUOPTION_RECT@@0K@Z", folder, 100, 80,
      [&](const char* name, void* target) {
        const auto draw = find<Graph>(name);
        return draw ? draw(expression, in.plot, target, 1) : -1;
      });

  std::string html = folder + "\\table.html";
  std::ofstream(html, std::ios::binary)
      << "<table><tr><td>1</td><td>3</td><td>2</td></tr>"
         "<tr><td>2</td><td>1</td><td>4</td></tr></table>";
  using Html = int (*)(char*, DIAG_DISP, void*, unsigned long, unsigned long);
  check_targets(
      "CreateDiagHTML", "?CreateDiagHTML@@YAH" KP "DUDIAG_DISP@@" KP KP "UHBITMAP__@@KK@Z",
      "?CreateDiagHTML@@YAH" KP "DUDIAG_DISP@@" KP "UIDirectDrawSurface@@KK@Z",
      "?CreateDiagHTML@@YAH" KP "DUDIAG_DISP@@0KK@Z", folder, 120, 80,
      [&](const char* name, void* target) {
        const auto draw = find<Html>(name);
        return draw ? draw(html.data(), in.disp, target, 1, KESTRA_KIND_LINES) : -1;
      });

  std::string workbook = folder + "\\book.csv";
  std::ofstream(workbook, std::ios::binary) << "x,1,3,2\ny,2,1,4\n";
  EXCEL_TAB range{1, "B1:D2"};
  using Xls = int (*)(char*, EXCEL_TAB, DIAG_DISP, void*, unsigned long, unsigned long);
  check_targets(
      "CreateDiagXLS", "?CreateDiagXLS@@YAH" KP "DUEXCEL_TAB@@UDIAG_DISP@@" KP KP "UHBITMAP__@@KK@Z",
      "?CreateDiagXLS@@YAH" KP "DUEXCEL_TAB@@UDIAG_DISP@@" KP "UIDirectDrawSurface@@KK@Z",
      "?CreateDiagXLS@@YAH" KP "DUEXCEL_TAB@@UDIAG_DISP@@0KK@Z", folder, 120, 80,
      [&](const char* name, void* target) {
        const auto draw = find<Xls>(name);
        return draw ? draw(workbook.data(), range, in.disp, target, 1, KESTRA_KIND_LINES_MARKERS)
                    : -1;
      });
}

// Every decorated name of the export list was looked up and called.
void check_every_export_called(const std::string& list) {
  std::ifstream file(list);
  std::string line;
  int exports = 0;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string plain, decorated;
    fields >> plain >> decorated;
    ++exports;
    check(called.count(decorated) == 1, "host calls " + decorated);
  }
  check(exports > 0 && exports == static_cast<int>(called.size()),
        "the host calls as many exports as the header declares");
}

// Which face the system draws for a requested one (Wine has no Arial of its
// own and substitutes another).
void report_font(const char* requested) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, requested);
  HGDIOBJ previous = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  std::printf("info \"%s\" is drawn with the face \"%s\"\n", requested, face);
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: host EXPORT_LIST WORK_FOLDER\n");
    return 2;
  }
  dll = LoadLibraryA("kestra.dll");
  check(dll != nullptr, "LoadLibrary(kestra.dll)");
  if (!dll) return 1;
  Inputs inputs;
  check_builders(inputs);
#ifdef __i386__
  check_record_returns();
#endif
  check_drawing(inputs, argv[2]);
  check_every_export_called(argv[1]);
  report_font("arial");
  const auto free_table = export_address<void (*)(TAB_GR*)>("FreeTabGr");
  if (free_table) free_table(&inputs.table);
  FreeLibrary(dll);
  std::printf("%d failure(s)\n", failures);
  return failures == 0 ? 0 : 1;
}
