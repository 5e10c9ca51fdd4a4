// KestraStatusText: one distinct text per code of the status table.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "kestra.h"

namespace {

TEST(KestraStatusText, EveryCodeHasItsOwnText) {
  std::set<std::string> texts;
  const std::string unknown = KestraStatusText(-1);
  for (int status = KESTRA_MODE_UNKNOWN; status <= KESTRA_INTERNAL; ++status) {
    SCOPED_TRACE(status);
    const std::string text = KestraStatusText(status);
    EXPECT_NE(text, unknown);
    EXPECT_TRUE(texts.insert(text).second) << "shared text: " << text;
  }
  EXPECT_EQ(std::string(KestraStatusText(KESTRA_OK)), "success");
}

TEST(KestraStatusText, CodesOutsideTheTableAreUnknown) {
  for (int status : {1, 999, 1000, KESTRA_INTERNAL + 1, -1020})
    EXPECT_EQ(std::string(KestraStatusText(status)), "unknown status") << status;
}

}  // namespace
