// Every export with its Nth allocation failing, for every N the call makes:
// a clean status, no GDI object or allocation left behind, no file changed
// and no stray file; a call that still succeeds draws the clean picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "platform/object_table.h"
#include "support/export_calls.h"
#include "support/failing_allocator.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

// Statuses a call may give when an allocation fails: an internal failure, a
// device context or bitmap that could not be created (as GDI reports a lack
// of memory), and for file forms a file not written or a stored picture not
// loaded.
bool is_allocation_status(int status, Form form) {
  const bool file = form == Form::file_new || form == Form::file_over;
  return status == KESTRA_INTERNAL || status == KESTRA_NO_DC || status == KESTRA_NO_BITMAP ||
         (file && status == KESTRA_FILE_WRITE) ||
         (form == Form::surface && status == KESTRA_SURFACE_DC) ||
         (form == Form::file_over && status == KESTRA_FILE_LOAD);
}

// Runs `call` into `form` with allocation 1, 2, ... failing, until a run
// makes fewer allocations than the one armed to fail. Returns how many runs
// met a failure.
std::size_t fail_each_allocation(const ExportCall& call, Form form) {
  TempDir dir;
  const std::string path = dir.file("p.bmp");
  std::vector<std::uint8_t> clean;
  {
    Target target(form, path);
    EXPECT_EQ(call.run(target), KESTRA_OK);
    clean = target.take();
  }
  const std::vector<std::uint8_t> stored = stored_picture(kCallWidth, kCallHeight);
  const bool file = form == Form::file_new || form == Form::file_over;
  const std::vector<std::string> entries = file ? std::vector<std::string>{"p.bmp"}
                                                : std::vector<std::string>{};
  for (std::size_t nth = 1;; ++nth) {
    int status;
    bool failed, as_expected;
    std::int64_t held_before, held_after;
    {
      Target target(form, path);
      held_before = held_allocations();
      // On a thread of its own, so the per-thread caches of the platform
      // layer are gone when the memory held is counted.
      std::thread([&] {
        fail_allocation(nth);
        status = call.run(target);
        failed = allocation_failed();
        fail_allocation(0);
      }).join();
      as_expected = target.take() == (status == KESTRA_OK || !file ? clean : stored);
      // Measured before any assertion records a message.
      held_after = held_allocations();
    }
    if (status == KESTRA_OK || file) {
      EXPECT_TRUE(as_expected) << "allocation " << nth << " (status " << status
                               << "): picture or stored file differs";
    }
    if (status != KESTRA_OK) {
      EXPECT_TRUE(is_allocation_status(status, form)) << "allocation " << nth << ": " << status;
    }
    EXPECT_EQ(held_after, held_before) << "allocation " << nth << ": memory still held";
    EXPECT_EQ(platform::live_objects(), 0u) << "allocation " << nth;
    EXPECT_EQ(dir.entries(), entries) << "allocation " << nth;
    if (!failed || testing::Test::HasFailure()) return nth - 1;
  }
}

TEST(AllocationFailure, EveryExportInEveryFormSurvivesEachFailedAllocation) {
  for (const ExportCall& call : export_calls()) {
    for (const Form form : kForms) {
      SCOPED_TRACE(call.name + " into " + form_name(form));
      const std::size_t failures = fail_each_allocation(call, form);
      EXPECT_GT(failures, 0u);  // the call allocates, so the loop met failures
      std::printf("%s into %s: %zu allocations failed in turn\n", call.name.c_str(),
                  form_name(form), failures);
      if (testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace kestra::test
