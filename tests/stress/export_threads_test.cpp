// Eight threads calling every export into every target form at once, for a
// bounded number of rounds: each picture equals the one a serial run drew.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "support/export_calls.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

constexpr int kThreads = 8;

// KESTRA_STRESS_ROUNDS overrides the default of 2 rounds per thread.
int rounds() {
  const char* text = std::getenv("KESTRA_STRESS_ROUNDS");
  const int rounds = text ? std::atoi(text) : 0;
  return rounds > 0 ? rounds : 2;
}

struct Job {
  const ExportCall* call;
  Form form;
  std::vector<std::uint8_t> expected;
  std::atomic<int> failures{0};
};

TEST(ExportThreads, EightThreadsDrawWhatASerialRunDraws) {
  const std::vector<ExportCall> calls = export_calls();
  TempDir dir;
  std::vector<Job> jobs(calls.size() * std::size(kForms));
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    Job& job = jobs[i];
    job.call = &calls[i / std::size(kForms)];
    job.form = kForms[i % std::size(kForms)];
    Target target(job.form, dir.file("serial.bmp"));
    ASSERT_EQ(job.call->run(target), KESTRA_OK) << job.call->name << " " << form_name(job.form);
    job.expected = target.take();
  }

  const int round_count = rounds();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string path = dir.file("thread" + std::to_string(t) + ".bmp");
      for (int round = 0; round < round_count; ++round) {
        // Each thread starts elsewhere in the list, so different exports overlap.
        for (std::size_t k = 0; k < jobs.size(); ++k) {
          Job& job = jobs[(k + static_cast<std::size_t>(t) * 3 + round) % jobs.size()];
          Target target(job.form, path);
          if (job.call->run(target) != KESTRA_OK || target.take() != job.expected) {
            ++job.failures;
          }
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const Job& job : jobs) {
    EXPECT_EQ(job.failures.load(), 0) << job.call->name << " into " << form_name(job.form);
  }
}

}  // namespace
}  // namespace kestra::test
