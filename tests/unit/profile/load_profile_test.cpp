#include <gtest/gtest.h>

#include "platform/host/resources_host.h"
#include "profile/package_profile.h"
#include "tests/layers.h"

namespace {

class LoadPackageProfileTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::ClearHostResources(); }
};

TEST_F(LoadPackageProfileTest, ReplacesTheWholeProfile) {
  platform::SetHostResource(platform::kProfileResourceId, "shortcutName=Tidewater\nshowLogo=0\n");
  PackageProfile profile;
  profile.companyName = L"changed before loading";
  ASSERT_TRUE(LoadPackageProfile({}, profile));
  PackageProfile expected;
  expected.shortcutName = L"Tidewater";
  expected.showLogo = false;
  EXPECT_EQ(profile, expected);
}

TEST_F(LoadPackageProfileTest, MissingOrEmptyResourceLeavesTheProfileUntouched) {
  PackageProfile profile;
  profile.shortcutName = L"kept";
  EXPECT_FALSE(LoadPackageProfile({}, profile));
  platform::SetHostResource(platform::kProfileResourceId, "");
  EXPECT_FALSE(LoadPackageProfile({}, profile));
  EXPECT_EQ(profile.shortcutName, L"kept");
}

}  // namespace
