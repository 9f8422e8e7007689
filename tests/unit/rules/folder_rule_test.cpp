#include "rules/folder_rule.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/layers.h"

namespace {

// Share roots cannot be made under Wine; the rule's reading of root paths is shown on text.
TEST(DriveOrShareRoot, DriveAndShareRootsAreRootsInEveryForm) {
  for (const wchar_t* root :
       {L"C:\\", L"C:", L"c:/", L"\\\\server\\share", L"\\\\server\\share\\", L"//server/share",
        L"\\\\?\\UNC\\server\\share", L"\\\\?\\C:\\", L"\\\\server", L"/"}) {
    EXPECT_TRUE(IsDriveOrShareRoot(root)) << platform::WideToUtf8(root);
  }
  for (const wchar_t* folder :
       {L"C:\\Games", L"\\\\server\\share\\Games", L"\\\\?\\UNC\\server\\share\\Games",
        L"\\\\?\\C:\\Games", L"/home"}) {
    EXPECT_FALSE(IsDriveOrShareRoot(folder)) << platform::WideToUtf8(folder);
  }
}

}  // namespace
