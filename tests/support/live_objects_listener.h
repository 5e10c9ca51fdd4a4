// A GoogleTest listener that checks, after every test, that no GDI object the
// test created is still alive.
#pragma once

#include <gtest/gtest.h>

#include "platform/object_table.h"

namespace kestra::test {

class LiveObjectsListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override { before_ = platform::live_objects(); }

  // End events reach listeners in reverse order of registration, so this
  // failure is recorded before the result printer reports the test.
  void OnTestEnd(const testing::TestInfo&) override {
    const std::size_t live = platform::live_objects();
    if (live != 0) {
      ADD_FAILURE() << live << " GDI object(s) alive after the test, " << before_
                    << " before it (dc "
                    << platform::live_objects(platform::ObjectKind::dc) << ", bitmap "
                    << platform::live_objects(platform::ObjectKind::bitmap) << ", pen "
                    << platform::live_objects(platform::ObjectKind::pen) << ", brush "
                    << platform::live_objects(platform::ObjectKind::brush) << ", font "
                    << platform::live_objects(platform::ObjectKind::font) << ")";
    }
  }

 private:
  std::size_t before_ = 0;
};

}  // namespace kestra::test
