// Deleting folder trees through the shell: everything inside the device, and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/shell.h"
#include "testing/device_root.h"
#include "windows.h"

namespace fs = std::filesystem;

namespace {

class FileOperation : public ::testing::Test {
 protected:
  FileOperation()
  {
    Make("Program Files/KorvexPortal/KorvexPortal.exe");
    Make("Program Files/KorvexPortal/res/skin.png");
    Make("Temp/KorvexPortal/user/contacts.xml");
    Make("Temp/keep.txt");
    fs::create_directories(outside_);
    std::ofstream(outside_ / "precious.txt") << "x";
    // A link inside the tree that leads out of the device: removed, never followed.
    fs::create_directory_symlink(outside_, Host("Program Files/KorvexPortal/out"));
    fs::create_directory_symlink(outside_, Host("Temp/link"));
  }
  ~FileOperation() override { fs::remove_all(outside_); }

  fs::path Host(const std::string& relative) const { return fs::path(root_.path()) / relative; }
  void Make(const std::string& relative) const
  {
    fs::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative)) << "content";
  }
  static int Delete(const std::u16string& list, bool* aborted = nullptr)
  {
    std::u16string paths = list + u'\0';  // the list's second NUL
    SHFILEOPSTRUCT operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = paths.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    int result = SHFileOperation(&operation);
    if (aborted)
      *aborted = operation.fAnyOperationsAborted;
    return result;
  }

  device::testing::ScopedDeviceRoot root_;
  fs::path outside_ = fs::path(root_.path()).parent_path() / (fs::path(root_.path()).filename().string() + "-outside");
};

TEST_F(FileOperation, DeletesTreesAndFilesGivenAsADoubleNulList)
{
  bool aborted = true;
  std::u16string list = std::u16string(u"\\program files\\KORVEXPORTAL") + u'\0' +
                        u"\\Temp\\KorvexPortal\\user\\contacts.xml";
  EXPECT_EQ(Delete(list, &aborted), 0);
  EXPECT_FALSE(aborted);
  EXPECT_FALSE(fs::exists(Host("Program Files/KorvexPortal")));
  EXPECT_FALSE(fs::exists(Host("Temp/KorvexPortal/user/contacts.xml")));
  EXPECT_TRUE(fs::exists(Host("Temp/KorvexPortal/user")));
  EXPECT_TRUE(fs::exists(Host("Program Files")));
  EXPECT_TRUE(fs::exists(outside_ / "precious.txt"));
}

TEST_F(FileOperation, RefusesAnythingButPlainPathsInsideTheDeviceAndDeletesNothingThen)
{
  struct Case {
    const char* name;
    std::u16string list;
    int error;
  } cases[] = {
      {"an empty list", u"", ERROR_INVALID_PARAMETER},
      {"the root", u"\\", ERROR_ACCESS_DENIED},
      {"the root, written twice", u"\\\\", ERROR_ACCESS_DENIED},
      {"a way out", u"\\Temp\\..\\..", ERROR_INVALID_NAME},
      {"a wildcard", u"\\Temp\\*", ERROR_INVALID_NAME},
      {"a link out", u"\\Temp\\link", ERROR_ACCESS_DENIED},
      {"the layer's folder", u"\\.kernel", ERROR_ACCESS_DENIED},
      {"a missing file", u"\\Temp\\missing.txt", ERROR_FILE_NOT_FOUND},
      {"a good path, then the root", std::u16string(u"\\Temp\\keep.txt") + u'\0' + u"\\", ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Delete(c.list), c.error);
    EXPECT_TRUE(fs::exists(Host("Temp/keep.txt")));
    EXPECT_TRUE(fs::exists(Host("Program Files/KorvexPortal/KorvexPortal.exe")));
    EXPECT_TRUE(fs::exists(outside_ / "precious.txt"));
  }
  SHFILEOPSTRUCT copy{};
  copy.wFunc = FO_COPY;
  copy.pFrom = u"\\Temp\\keep.txt\0";
  EXPECT_EQ(SHFileOperation(&copy), ERROR_INVALID_FUNCTION);
  SHFILEOPSTRUCT none{};
  none.wFunc = FO_DELETE;
  EXPECT_EQ(SHFileOperation(&none), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SHFileOperation(nullptr), ERROR_INVALID_PARAMETER);
}

}  // namespace
