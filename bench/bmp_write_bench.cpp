// A 4096 x 4096 picture as a BMP file, against writing the same number of
// bytes to a file from memory: the CreateDiag file form end to end (create,
// fill, draw, encode, write, release), and the writer alone on a picture
// that exists.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "output/output.h"

namespace {

constexpr int side = 4096;

std::string target_path(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// Random 24-bit rows with a fixed seed.
std::vector<std::uint8_t> random_rows(std::size_t bytes) {
  std::mt19937 random(20261208);
  std::vector<std::uint8_t> rows(bytes);
  for (std::uint8_t& byte : rows) byte = static_cast<std::uint8_t>(random());
  return rows;
}

void BM_WriteBmpFile(benchmark::State& state) {
  const auto layout = *kestra::output::bmp_layout(side, side);
  const std::vector<std::uint8_t> rows = random_rows(layout.image_size);
  BITMAPINFO info = kestra::output::bmp_description(layout);
  HDC screen = GetDC(GetForegroundWindow());
  HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, rows.data(), &info,
                                  DIB_RGB_COLORS);
  const std::string path = target_path("kestra_bench_picture.bmp");
  for (auto _ : state) {
    const int status = kestra::output::write_bitmap_file(path.c_str(), layout, bitmap, screen);
    benchmark::DoNotOptimize(status);
    if (status != KESTRA_OK) state.SkipWithError("the picture was not written");
  }
  if (std::filesystem::file_size(path) != layout.file_size) state.SkipWithError("wrong file size");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * layout.file_size);
  std::filesystem::remove(path);
  DeleteObject(bitmap);
  ReleaseDC(GetForegroundWindow(), screen);
}
BENCHMARK(BM_WriteBmpFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A background and a few bars on the whole picture.
void BM_CreateDiagFile(benchmark::State& state) {
  double values[] = {3, 7, 4, 9, 6};
  const TAB_GR table{1, 5, values};
  GRAPH_ELEM series = ReturnGraphElem(RGB(40, 90, 200), 1, const_cast<char*>("Sales"));
  const DIAG_DISP disp =
      ReturnDiagDisp({0, 0, side, side}, RGB(250, 250, 240), RGB(0, 0, 0), RGB(0, 0, 0), 4,
                     RGB(0, 0, 0), 12, RGB(0, 0, 0), 10, nullptr, nullptr, nullptr, 0, 1, &series,
                     0, 0x0F);
  std::string path = target_path("kestra_bench_diagram.bmp");
  for (auto _ : state) {
    if (CreateDiag(table, disp, path.data(), 1, KESTRA_KIND_BARS) != KESTRA_OK) {
      state.SkipWithError("CreateDiag failed");
    }
  }
  const auto layout = *kestra::output::bmp_layout(side, side);
  if (std::filesystem::file_size(path) != layout.file_size) state.SkipWithError("wrong file size");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * layout.file_size);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CreateDiagFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the same number of bytes written from memory. Argument 1 also
// flushes the file to the disk before closing it, for comparison with a
// writer that does so.
void BM_CopyBytesToFile(benchmark::State& state) {
  const auto layout = *kestra::output::bmp_layout(side, side);
  const std::vector<std::uint8_t> bytes = random_rows(layout.file_size);
  const std::string path = target_path("kestra_bench_copy.bin");
  const bool synced = state.range(0) != 0;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (written && synced) written = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    if (!file || std::fclose(file) != 0 || !written) state.SkipWithError("the copy failed");
  }
  if (std::filesystem::file_size(path) != layout.file_size) state.SkipWithError("wrong file size");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * layout.file_size);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CopyBytesToFile)->ArgName("synced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a durable write, as the file form makes it: the same bytes
// into a new file beside the target, flushed to the disk, renamed over it.
void BM_DurableWrite(benchmark::State& state) {
  const auto layout = *kestra::output::bmp_layout(side, side);
  const std::vector<std::uint8_t> bytes = random_rows(layout.file_size);
  const std::string path = target_path("kestra_bench_durable.bin");
  const std::string temporary = path + ".tmp";
  for (auto _ : state) {
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const bool written =
        file >= 0 && write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    const bool synced = written && fsync(file) == 0;
    if (file < 0 || close(file) != 0 || !synced ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
      state.SkipWithError("the durable write failed");
      std::remove(temporary.c_str());
      break;
    }
  }
  if (std::filesystem::file_size(path) != layout.file_size) state.SkipWithError("wrong file size");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * layout.file_size);
  std::filesystem::remove(path);
}
BENCHMARK(BM_DurableWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
