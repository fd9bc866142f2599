// Deleting a folder tree: only a full device path below the root is deleted; an empty,
// relative or root path, or one too long for the operation's list, deletes nothing.
#include "folder_tree.h"
#include "testing/ui_harness.h"
#include "zunsetup_test_support.h"

namespace {

using namespace zunsetup_test;
using zunsetup::DeleteFolderTree;

class FolderTree : public ::testing::Test {
 protected:
  device::testing::ScopedDeviceRoot root_;
};

TEST_F(FolderTree, DeletesOnlyAFullPathBelowTheRoot)
{
  Write("Program Files/KorvexPortal/sub/a.txt", "a");
  Write("KorvexPortal/b.txt", "b");
  std::u16string tooLong = u"\\Program Files\\KorvexPortal\\" + std::u16string(240, u'x');
  std::map<std::string, std::string> before = DeviceState();
  for (const char16_t* path : {static_cast<const char16_t*>(nullptr), u"", u"\\", u"KorvexPortal",
                               u"Program Files\\KorvexPortal", tooLong.c_str(), u"\\Program Files\\Missing"}) {
    SCOPED_TRACE(path ? kvtest::Narrow(path) : "null");
    EXPECT_EQ(DeleteFolderTree(path), 0);
    EXPECT_EQ(DeviceState(), before);
  }
  EXPECT_EQ(DeleteFolderTree(u"\\Program Files\\KorvexPortal"), 1);
  EXPECT_FALSE(fs::exists(Host("Program Files/KorvexPortal")));
  EXPECT_TRUE(fs::exists(Host("Program Files")));
  EXPECT_EQ(Read("KorvexPortal/b.txt"), "b");
}

}  // namespace
