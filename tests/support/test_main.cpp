// The main of every test binary: GoogleTest with a listener that fails any
// test leaving a GDI object alive, so a leak anywhere fails the suite.
#include <gtest/gtest.h>

#include "support/live_objects_listener.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new kestra::test::LiveObjectsListener);
  return RUN_ALL_TESTS();
}
