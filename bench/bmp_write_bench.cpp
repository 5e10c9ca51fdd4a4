// Writing a 4096 x 4096 picture as a BMP file, against writing the same
// number of bytes to a file from memory.
#include <benchmark/benchmark.h>

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

void BM_CopyBytesToFile(benchmark::State& state) {
  const auto layout = *kestra::output::bmp_layout(side, side);
  const std::vector<std::uint8_t> bytes = random_rows(layout.file_size);
  const std::string path = target_path("kestra_bench_copy.bin");
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!file || std::fclose(file) != 0 || !written) state.SkipWithError("the copy failed");
  }
  if (std::filesystem::file_size(path) != layout.file_size) state.SkipWithError("wrong file size");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * layout.file_size);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CopyBytesToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
