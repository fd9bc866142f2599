// The package manifest: what it says survives writing and reading, and what is not a sound
// manifest is refused with the line at fault.
#include <gtest/gtest.h>

#include "package/manifest.h"

namespace {

using install::ManifestKind;
using install::ParseManifest;

const std::string kDigest(64, 'a');

std::string Package(const std::string& rest = "")
{
  return "[package]\nformat = 1\nname = 钱包\nfolder = \\Program Files\\Wallet\n" + rest;
}

std::string File(const std::string& path = "\\Program Files\\Wallet\\Wallet.exe")
{
  return "[file]\npath = " + path + "\nsize = 10\nsha256 = " + kDigest + "\nprogram = yes\n";
}

TEST(PackageManifest, WhatIsWrittenReadsBackTheSame)
{
  std::string text = Package("setup = \\Program Files\\Wallet\\Setup.dll\n") + "\n" + File() + "\n" +
                     File("\\Program Files\\Wallet\\Setup.dll") +
                     "\n[service]\nkey = Dovrel\nlibrary = \\Program Files\\Wallet\\Dovrel.dll\nprefix = PAY\n"
                     "index = 0\ncontext = 0\nkeep = 1\nfolder = \\Program Files\\Wallet\nport = 8090\n"
                     "\n[value]\nkey = HKEY_CURRENT_USER\\Software\\Wallet\nname = Greeting\nsz = 你好 world\n"
                     "\n[value]\nkey = HKEY_LOCAL_MACHINE\\Software\\Wallet\nname = Runs\ndword = 4294967295\n";
  std::string problem;
  std::optional<install::PackageManifest> manifest = ParseManifest(text, ManifestKind::manifest, &problem);
  ASSERT_TRUE(manifest) << problem;
  EXPECT_EQ(manifest->name, "钱包");
  ASSERT_EQ(manifest->files.size(), 2u);
  EXPECT_EQ(install::CabinetName(manifest->files[0]), "Program Files\\Wallet\\Wallet.exe");
  EXPECT_EQ(manifest->services.at(0).port, 8090);
  EXPECT_EQ(manifest->values.at(1).number, 4294967295u);
  EXPECT_EQ(install::WriteManifest(*manifest), text);
}

TEST(PackageManifest, ADescriptionNamesSourcesInPlaceOfDigests)
{
  std::string problem;
  std::string description = Package() + "[file]\npath = \\Program Files\\Wallet\\res\nsource = /build/res\n";
  std::optional<install::PackageManifest> manifest = ParseManifest(description, ManifestKind::description, &problem);
  ASSERT_TRUE(manifest) << problem;
  EXPECT_EQ(manifest->files.at(0).source, "/build/res");
  EXPECT_FALSE(ParseManifest(description, ManifestKind::manifest, &problem));
  EXPECT_FALSE(ParseManifest(Package() + File(), ManifestKind::description, &problem));
}

TEST(PackageManifest, RefusesWhatIsNotSound)
{
  struct Case {
    std::string text;
    const char* problem;
  } cases[] = {
      {File() + Package(), "the first section is not [package]"},
      {Package() + Package(), "line 5: [package] is given twice"},
      {"[package]\nformat = 2\nname = a\nfolder = \\a\n", "format 2 is not known"},
      {"[package]\nformat = 1\nname = a\\b\nfolder = \\a\n", "cannot name a package"},
      {"[package]\nformat = 1\nname = a\n", "[package] has no folder"},
      {Package("folder = \\b\n"), "line 5: \"folder\" is given twice"},
      {Package("colour = blue\n"), "line 5: [package] has no key \"colour\""},
      {Package("just words\n"), "line 5: neither a section nor"},
      {Package() + File("Program Files\\Wallet.exe"), "is not a device path"},
      {Package() + File() + File("\\PROGRAM FILES\\wallet\\WALLET.EXE"), "is installed twice"},
      {Package() + File("\\_manifest.ini"), "the manifest's own name"},
      {Package() + "[file]\npath = \\a\nsize = -1\nsha256 = " + kDigest + "\nprogram = no\n", "size \"-1\" is not"},
      {Package() + "[file]\npath = \\a\nsize = 1\nsha256 = ABC\nprogram = no\n", "sha256 is not 64"},
      {Package() + "[file]\npath = \\a\nsize = 1\nsha256 = " + kDigest + "\nprogram = maybe\n", "neither yes nor no"},
      {Package("setup = \\Program Files\\Wallet\\Setup.dll\n") + File(), "is not one of the package's files"},
      {Package() + "[service]\nkey = S\nlibrary = \\s.dll\nprefix = PA\n", "prefix \"PA\" is not three"},
      {Package() + "[service]\nkey = S\nlibrary = \\s.dll\nprefix = PAY\nport = 65536\n", "port \"65536\""},
      {Package() + "[value]\nkey = HKEY_CLASSES_ROOT\\x\nname = n\nsz = v\n", "is not below HKEY_LOCAL_MACHINE"},
      {Package() + "[value]\nkey = HKEY_LOCAL_MACHINE\\x\\\\y\nname = n\nsz = v\n", "has an empty name"},
      {Package() + "[value]\nkey = HKEY_LOCAL_MACHINE\\x\nname = n\nsz = v\ndword = 1\n", "needs one of sz and dword"},
      {Package() + "[shortcut]\n", "[shortcut] is not a section of a package"},
  };
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(ParseManifest(c.text, ManifestKind::manifest, &problem)) << c.text;
    EXPECT_NE(problem.find(c.problem), std::string::npos) << c.text << "\n-> " << problem;
  }
}

}  // namespace
