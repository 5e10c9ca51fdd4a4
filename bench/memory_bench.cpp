// Peak resident memory of one large call, in a process of its own:
//   bench_memory html      a 50 MB HTML table read by CreateDiagHTML
//   bench_memory csv       10 rows of a 1,000,000-row CSV file by CreateDiagXLS
//   bench_memory picture   the 4096 x 4096 CreateDiag file form drawn over a
//                          stored picture (mode 2), then a new picture (mode 1)
// Inputs are written to the temporary folder piece by piece, so the process
// stays small; a small call of the same kind runs first (libraries, fonts),
// then the peak is taken before and after the large call.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "kestra.h"

namespace {

double peak_megabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

std::string temp_file(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// Writes `rows` rows made by `row` to `path`, between `head` and `tail`.
void write_rows(const std::string& path, const std::string& head, long rows,
                const std::function<std::string(long)>& row, const std::string& tail) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fputs(head.c_str(), file);
  for (long r = 0; r < rows; ++r) std::fputs(row(r).c_str(), file);
  std::fputs(tail.c_str(), file);
  if (std::fclose(file) != 0) std::abort();
}

// Rows of eight numeric cells, as html_bench writes them, to about `bytes`.
std::string write_html(const char* name, long bytes) {
  const std::string path = temp_file(name);
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> number(-99999, 99999);
  const auto row = [&](long) {
    std::string tr = "\t<tr>\n";
    for (int c = 0; c < 8; ++c) tr += "\t\t<td>" + std::to_string(number(random) / 100.0) + "</td>\n";
    return tr + "\t</tr>\n";
  };
  write_rows(path, "<html><body>\n<table>\n", bytes / 180, row, "</table>\n</body></html>\n");
  return path;
}

std::string write_csv(const char* name, long rows) {
  const std::string path = temp_file(name);
  const auto row = [](long r) {
    std::string line;
    for (int c = 0; c < 8; ++c) line += std::to_string(r * 8 + c) + (c < 7 ? "," : "\n");
    return line;
  };
  write_rows(path, "", rows, row, "");
  return path;
}

DIAG_DISP bars_display(int side) {
  static GRAPH_ELEM series = ReturnGraphElem(RGB(40, 90, 200), 1, const_cast<char*>("Sales"));
  return ReturnDiagDisp({0, 0, side, side}, RGB(250, 250, 240), 0, 0, 4, 0, 12, 0, 10, nullptr,
                        nullptr, nullptr, 0, 1, &series, 0, 0x0F);
}

// A small picture with nothing drawn: the call is about the read.
DIAG_DISP bare_display() {
  return ReturnDiagDisp({0, 0, 64, 48}, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0,
                        nullptr, 0, 0);
}

int read_html(const std::string& path) {
  HBITMAP bitmap = nullptr;
  const int status =
      CreateDiagHTML(const_cast<char*>(path.c_str()), bare_display(), &bitmap, 1, 0);
  DeleteObject(bitmap);
  return status;
}

int read_csv(const std::string& path, const char* range) {
  EXCEL_TAB tab{1, {}};
  std::strncpy(tab.cellRange, range, sizeof tab.cellRange - 1);
  HBITMAP bitmap = nullptr;
  const int status =
      CreateDiagXLS(const_cast<char*>(path.c_str()), tab, bare_display(), &bitmap, 1, 0);
  DeleteObject(bitmap);
  return status;
}

int draw_picture(int side, unsigned long mode) {
  double values[] = {3, 7, 4, 9, 6};
  const std::string path = temp_file("kestra_memory_picture.bmp");
  return CreateDiag(TAB_GR{1, 5, values}, bars_display(side), const_cast<char*>(path.c_str()),
                    mode, KESTRA_KIND_BARS);
}

// Runs `call` in a child process and gives its status, so this process's
// peak stays as it was.
int in_child(const std::function<int()>& call) {
  const pid_t child = fork();
  if (child == 0) _exit(call() == 0 ? 0 : 1);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 1;
  return WEXITSTATUS(status);
}

void report(const char* what, double input_megabytes, const std::function<int()>& call) {
  const double before = peak_megabytes();
  const int status = call();
  const double after = peak_megabytes();
  std::printf("%s: status %d, input %.1f MB, peak resident %.1f MB (%.1f MB above %.1f MB)\n",
              what, status, input_megabytes, after, after - before, before);
}

double megabytes(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string which = argc > 1 ? argv[1] : "";
  if (which == "html") {
    const std::string small = write_html("kestra_memory_small.html", 1 << 16);
    const std::string large = write_html("kestra_memory_large.html", 50L << 20);
    read_html(small);
    report("50 MB HTML table", megabytes(large), [&] { return read_html(large); });
    std::filesystem::remove(small);
    std::filesystem::remove(large);
  } else if (which == "csv") {
    const std::string path = write_csv("kestra_memory_rows.csv", 1000000);
    read_csv(path, "A1:H2");
    report("rows 9990-9999 of a 1,000,000-row CSV", megabytes(path),
           [&] { return read_csv(path, "A9990:H9999"); });
    std::filesystem::remove(path);
  } else if (which == "picture") {
    draw_picture(64, 1);
    draw_picture(64, 2);
    // Mode 2 first, over a file drawn by a child process: each peak is its own.
    if (in_child([] { return draw_picture(4096, 1); }) != 0) return 1;
    const std::string path = temp_file("kestra_memory_picture.bmp");
    report("4096 x 4096 CreateDiag file form, mode 2", megabytes(path),
           [] { return draw_picture(4096, 2); });
    report("4096 x 4096 CreateDiag file form, mode 1", 0, [] { return draw_picture(4096, 1); });
    std::filesystem::remove(path);
  } else {
    std::fprintf(stderr, "usage: %s html|csv|picture\n", argv[0]);
    return 2;
  }
  return 0;
}
