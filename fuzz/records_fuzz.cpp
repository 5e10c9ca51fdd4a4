// Diagram and plot records of any field values (within bounded sizes), any
// mode and any kind, drawn through every target form: a bitmap, a memory
// surface and a BMP file. Each call gives a known status without a crash;
// nothing leaks; a refused file call leaves the stored picture byte for
// byte; the file holds what the bitmap form draws over the same picture.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_bytes.h"
#include "kestra.h"
#include "output/output.h"
#include "platform/file_system.h"
#include "platform/object_table.h"

namespace {

constexpr int max_side = 96;
constexpr double max_samples = 20000;

const char* const expressions[] = {"y=sin(x)*2", "x=y*y/4-3", "y=log(2)(abs(x)+1)-pow(x)(3)/50",
                                   "y=tg(x)", "y=1/x", "y=e-pi*cos(x)"};

// Input bits that choose raw values over well-formed ones.
enum Choice : std::uint8_t {
  plot = 1,        // a plot, else a diagram
  raw_mode = 2,    // the mode's 32 bits as given, else 1 or 2 with any high bits
  raw_kind = 4,    // the kind's 32 bits as given, else 1, 2 or 101
  raw_size = 8,    // picture sides from -128 to 127, else 1 to max_side
  raw_table = 16,  // rows and columns from -128 to 127, else 1-5 x 2-9
  no_values = 32,  // a table without values
  raw_text = 64,   // the expression from the input, else a valid one
};

// Files written here need not survive a power cut: skipping the flushes
// keeps the target quick.
class UnflushedFiles final : public kestra::platform::FileSystem {
 public:
  int fsync(int) override { return 0; }
};

void expect(bool condition) {
  if (!condition) std::abort();
}

// A status of the table other than an internal failure.
bool is_known_status(int status) {
  return status == KESTRA_OK || (status >= KESTRA_MODE_UNKNOWN && status < KESTRA_INTERNAL);
}

// The picture's rows, top-down, as 32-bit pixels; empty for no picture.
std::vector<std::uint32_t> pixels_of(HBITMAP bitmap, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(GetForegroundWindow());
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), out.data(), &info,
                             DIB_RGB_COLORS);
  ReleaseDC(GetForegroundWindow(), screen);
  expect(rows == height);
  return out;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit BMP file of a coloured pattern; a 4 x 4 one for a side that
// makes no picture.
std::vector<std::uint8_t> stored_picture(int width, int height) {
  if (width <= 0 || height <= 0) width = height = 4;
  const auto layout = kestra::output::bmp_layout(width, height);
  const auto headers = kestra::output::bmp_headers(*layout);
  std::vector<std::uint8_t> bytes(headers.begin(), headers.end());
  bytes.resize(layout->file_size);
  for (std::size_t at = headers.size(); at < bytes.size(); ++at) {
    bytes[at] = static_cast<std::uint8_t>(at * 37 / 11);
  }
  return bytes;
}

const std::string& stored_path() {
  static const std::string path = [] {
    const std::string dir = "/tmp/kestra-records-fuzz-" + std::to_string(getpid());
    mkdir(dir.c_str(), 0700);
    return dir + "/p.bmp";
  }();
  return path;
}

// The picture a bitmap form call leaves: its status, and its pixels when it
// drew. In mode 2 it draws over the stored picture, loaded.
template <class Draw>
std::pair<int, std::vector<std::uint32_t>> draw_bitmap(const Draw& draw, unsigned long mode, int width,
                                                  int height) {
  HBITMAP bitmap = nullptr;
  if ((mode & 7) == 2) {
    bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, stored_path().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  }
  HBITMAP given = bitmap;
  const int status = draw(&bitmap, mode);
  expect(is_known_status(status));
  std::vector<std::uint32_t> pixels;
  if (status == KESTRA_OK && bitmap) pixels = pixels_of(bitmap, width, height);
  if (bitmap != given) DeleteObject(given);
  DeleteObject(bitmap);
  return {status, pixels};
}

// The file form over the stored picture agrees with the bitmap form over the
// same picture, and a refusal leaves the stored file byte for byte.
template <class Draw>
void check_file_form(const Draw& draw, unsigned long mode, int width, int height) {
  const std::vector<std::uint8_t> stored = stored_picture(width, height);
  write_bytes(stored_path(), stored);
  const auto [bitmap_status, pixels] = draw_bitmap(draw, mode, width, height);
  const int status = draw(const_cast<char*>(stored_path().c_str()), mode);
  expect(is_known_status(status));
  if (status != KESTRA_OK) {
    expect(read_bytes(stored_path()) == stored);
    return;
  }
  // Both forms drew the picture of rcPicture's size.
  expect(bitmap_status == KESTRA_OK && width > 0 && height > 0);
  HBITMAP written = static_cast<HBITMAP>(
      LoadImageA(nullptr, stored_path().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  expect(written != nullptr);
  expect(pixels_of(written, width, height) == pixels);
  DeleteObject(written);
}

// The surface form draws a new picture whenever the bitmap form can.
template <class Draw>
void check_surface_form(const Draw& draw, unsigned long mode, int width, int height,
                        SIZE surface_size) {
  IDirectDrawSurface* surface = CreateMemorySurface(surface_size.cx, surface_size.cy);
  const int status = draw(surface, mode);
  expect(is_known_status(status));
  if ((mode & 7) == 2) {
    const int bitmap_status = draw_bitmap(draw, 1, width, height).first;
    expect((status == KESTRA_OK) == (bitmap_status == KESTRA_OK));
  }
  DeleteMemorySurface(surface);
}

template <class Draw>
void check_every_form(const Draw& draw, unsigned long mode, const RECT& picture,
                      SIZE surface_size) {
  const int width = picture.right - picture.left;
  const int height = picture.bottom - picture.top;
  check_file_form(draw, mode, width, height);
  check_surface_form(draw, mode, width, height, surface_size);
}

SIZE surface_size(FuzzBytes& bytes) {
  const int width = 1 + bytes.take<std::uint8_t>() % max_side;
  return {width, 1 + bytes.take<std::uint8_t>() % max_side};
}

RECT picture_rect(std::uint8_t choice, FuzzBytes& bytes) {
  const int left = bytes.take<std::int8_t>();
  const int top = bytes.take<std::int8_t>();
  const bool raw = choice & raw_size;
  const int width = raw ? bytes.take<std::int8_t>() : 1 + bytes.take<std::uint8_t>() % max_side;
  const int height = raw ? bytes.take<std::int8_t>() : 1 + bytes.take<std::uint8_t>() % max_side;
  return {left, top, left + width, top + height};
}

void draw_diagram(std::uint8_t choice, unsigned long mode, FuzzBytes& bytes) {
  const bool raw = choice & raw_table;
  const int rows = raw ? bytes.take<std::int8_t>() : 1 + bytes.take<std::uint8_t>() % 5;
  const int cols = raw ? bytes.take<std::int8_t>() : 2 + bytes.take<std::uint8_t>() % 8;
  std::vector<double> values(static_cast<std::size_t>(std::max(rows, 0) * std::max(cols, 0)));
  for (double& v : values) v = bytes.take<double>();
  std::vector<GRAPH_ELEM> elements(static_cast<std::size_t>(std::max(rows, 1)));
  for (GRAPH_ELEM& e : elements) e = bytes.take<GRAPH_ELEM>();
  const std::uint32_t raw_kind_value = bytes.take<std::uint32_t>();
  const unsigned long kinds[] = {KESTRA_KIND_LINES, KESTRA_KIND_LINES_MARKERS, KESTRA_KIND_BARS};
  const unsigned long kind = choice & raw_kind ? raw_kind_value : kinds[raw_kind_value % 3];

  // Every field from the input except the pointers and the picture's size.
  DIAG_DISP disp = bytes.take<DIAG_DISP>();
  disp.rcPicture = picture_rect(choice, bytes);
  disp.legendFontHeight %= 64;  // keep text rendering quick
  disp.captionFontHeight %= 64;
  disp.barValueFontHeight %= 64;
  disp.divisions %= 1024;  // each division is a grid line and a printed label
  const SIZE surface = surface_size(bytes);
  std::vector<char> labels = bytes.rest();
  labels.push_back('\0');
  disp.categoryLabels = labels.data();
  disp.categoryLabelsLength =
      static_cast<std::uint16_t>(std::min<std::size_t>(disp.categoryLabelsLength, labels.size()));
  disp.elements = elements.data();
  const TAB_GR table{rows, cols, choice & no_values ? nullptr : values.data()};

  const auto draw = [&](auto target, unsigned long m) {
    return CreateDiag(table, disp, target, m, kind);
  };
  check_every_form(draw, mode, disp.rcPicture, surface);
}

// At most max_samples samples, so one input stays quick.
void bound_sampling(OPTION_RECT& options) {
  const double span = std::fabs(options.argTo - options.argFrom);
  if (std::isfinite(span) && options.argStep > 0 && span / options.argStep > max_samples) {
    options.argStep = span / max_samples;
  }
}

void draw_plot(std::uint8_t choice, unsigned long mode, FuzzBytes& bytes) {
  OPTION_RECT options = bytes.take<OPTION_RECT>();
  options.rcPicture = picture_rect(choice, bytes);
  bound_sampling(options);
  const std::uint8_t pick = bytes.take<std::uint8_t>();
  const SIZE surface = surface_size(bytes);
  std::vector<char> text = bytes.rest();
  text.push_back('\0');
  char* expression = choice & raw_text ? text.data()
                                       : const_cast<char*>(expressions[pick % std::size(expressions)]);
  const auto draw = [&](auto target, unsigned long m) {
    return CreateGraph(expression, options, target, m);
  };
  check_every_form(draw, mode, options.rcPicture, surface);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static UnflushedFiles files;
  static const bool installed = (kestra::platform::replace_file_system(&files), true);
  (void)installed;
  FuzzBytes bytes(data, size);
  const auto choice = bytes.take<std::uint8_t>();
  const auto given_mode = bytes.take<std::uint32_t>();
  const unsigned long mode = choice & raw_mode ? given_mode : (given_mode & ~7u) | (1 + given_mode % 2);
  const std::size_t live = kestra::platform::live_objects();
  if (choice & plot) {
    draw_plot(choice, mode, bytes);
  } else {
    draw_diagram(choice, mode, bytes);
  }
  expect(kestra::platform::live_objects() == live);
  return 0;
}
