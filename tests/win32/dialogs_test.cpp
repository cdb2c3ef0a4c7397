// The file-open dialog gets its filters as the system takes them.
#include <gtest/gtest.h>

#include <string>

#include "win32/win32_dialogs.h"

namespace {

TEST(Win32DialogsTest, FilterListPairsEachNameWithItsPatternsWithoutBlanks) {
  const std::string list = win32ui::FilterList(
      {{"All (*.a)", "*.fm0; *.fm1;*.ff0;  *.fi1"}, {"Motor (*.fm0)", "*.fm0"}});
  const std::string expected("All (*.a)\0*.fm0;*.fm1;*.ff0;*.fi1\0Motor (*.fm0)\0*.fm0\0\0", 55);
  EXPECT_EQ(list, expected);
}

}  // namespace
