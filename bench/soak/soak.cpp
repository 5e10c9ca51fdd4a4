// Soak: every export into every target form, mixed, on several threads for a
// given time. After a warm-up, resident memory must stay within a band, and
// when the threads are done the layer's live objects must be back to zero and
// the open file descriptors as many as before.
//   soak [SECONDS=30] [THREADS=8] [WARMUP_SECONDS=SECONDS/6]
// Exits 0 when all three hold and every call succeeded, 1 otherwise.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/object_table.h"
#include "support/export_calls.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using kestra::test::ExportCall;
using kestra::test::Form;

constexpr double kMegabyte = 1024.0 * 1024.0;
constexpr double kResidentBand = 5.0;  // MB above the level at the end of the warm-up

double resident_megabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages_total = 0, pages_resident = 0;
  statm >> pages_total >> pages_resident;
  return static_cast<double>(pages_resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         kMegabyte;
}

int open_descriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  int count = 0;
  while (const dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
  closedir(dir);
  return count - 1;  // the directory's own descriptor
}

struct Settings {
  double seconds = 30;
  int threads = 8;
  double warmup = 5;
};

Settings parse(int argc, char** argv) {
  Settings settings;
  if (argc > 1) settings.seconds = std::atof(argv[1]);
  if (argc > 2) settings.threads = std::atoi(argv[2]);
  settings.warmup = argc > 3 ? std::atof(argv[3]) : settings.seconds / 6;
  return settings;
}

// One thread's loop: the calls in its own order, each into a form that
// changes from round to round, until `stop`.
void drive(const std::vector<ExportCall>& calls, const std::string& path, unsigned seed,
           const std::atomic<bool>& stop, std::atomic<long>& done, std::atomic<long>& failed) {
  for (unsigned round = seed; !stop.load(std::memory_order_relaxed); ++round) {
    const ExportCall& call = calls[round % calls.size()];
    const Form form = kestra::test::kForms[(round / calls.size()) % std::size(kestra::test::kForms)];
    kestra::test::Target target(form, path);
    if (call.run(target) != KESTRA_OK || target.take().empty()) {
      failed.fetch_add(1, std::memory_order_relaxed);
    }
    done.fetch_add(1, std::memory_order_relaxed);
  }
}

struct Samples {
  double after_warmup = 0;
  double highest = 0;
  double lowest = 0;
};

// Samples resident memory once a second from the end of the warm-up on.
Samples watch(const Settings& settings, Clock::time_point start) {
  std::this_thread::sleep_until(start + std::chrono::duration<double>(settings.warmup));
  Samples samples;
  samples.after_warmup = samples.highest = samples.lowest = resident_megabytes();
  const auto end = start + std::chrono::duration<double>(settings.seconds);
  while (Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double now = resident_megabytes();
    samples.highest = std::max(samples.highest, now);
    samples.lowest = std::min(samples.lowest, now);
  }
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  if (settings.seconds <= 0 || settings.threads <= 0 || settings.warmup >= settings.seconds) {
    std::fprintf(stderr, "usage: soak [SECONDS] [THREADS] [WARMUP_SECONDS < SECONDS]\n");
    return 2;
  }
  const std::vector<ExportCall> calls = kestra::test::export_calls();
  const kestra::test::TempDir dir;
  const int descriptors_before = open_descriptors();
  const double resident_before = resident_megabytes();

  std::atomic<bool> stop{false};
  std::atomic<long> done{0}, failed{0};
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int t = 0; t < settings.threads; ++t) {
    threads.emplace_back(drive, std::cref(calls), dir.file("thread" + std::to_string(t) + ".bmp"),
                         static_cast<unsigned>(t) * 5, std::cref(stop), std::ref(done),
                         std::ref(failed));
  }
  const Samples samples = watch(settings, start);
  stop = true;
  for (std::thread& thread : threads) thread.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

  const std::size_t live = kestra::platform::live_objects();
  const int descriptors_after = open_descriptors();
  const double growth = samples.highest - samples.after_warmup;
  std::printf("soak: %d threads, %.1f s, %ld calls (%.0f/s), %ld failed\n", settings.threads,
              elapsed, done.load(), static_cast<double>(done.load()) / elapsed, failed.load());
  std::printf("resident MB: %.1f at start, %.1f after %.0f s warm-up, %.1f..%.1f after; "
              "growth %.2f (limit %.1f)\n",
              resident_before, samples.after_warmup, settings.warmup, samples.lowest,
              samples.highest, growth, kResidentBand);
  std::printf("live objects after: %zu; descriptors %d before, %d after\n", live,
              descriptors_before, descriptors_after);
  const bool sound = failed == 0 && done > 0 && growth <= kResidentBand && live == 0 &&
                     descriptors_after == descriptors_before;
  std::printf("soak %s\n", sound ? "passed" : "FAILED");
  return sound ? 0 : 1;
}
