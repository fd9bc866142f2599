#include "ini_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

#include "device_files.h"

namespace {

using common_test::DeviceFileExists;
using common_test::ReadDeviceFile;
using common_test::WriteDeviceFile;

constexpr const WCHAR* kPath = u"\\Program Files\\Tests\\appconfig.dat";
constexpr const WCHAR* kKeptAside = u"\\Program Files\\Tests\\appconfig.dat.bak";
constexpr const WCHAR* kPending = u"\\Program Files\\Tests\\appconfig.dat.tmp";

std::string Golden(const char* name)
{
  std::ifstream in(std::string(COMMON_TEST_GOLDEN) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bytes of a settings file: the mark and the text in UTF-16LE.
std::string SettingsBytes(std::u16string_view text)
{
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

class SettingsFile : public common_test::DeviceRootTest {
 protected:
  void SetUp() override
  {
    CreateDirectoryW(u"\\Program Files", nullptr);
    CreateDirectoryW(u"\\Program Files\\Tests", nullptr);
  }

  static std::optional<std::u16string> Value(const CIniFile& ini, const WCHAR* section, const WCHAR* key)
  {
    CStringW value = u"unchanged";
    if (!ini.GetValue(section, key, value)) {
      EXPECT_EQ(value, u"unchanged");
      return std::nullopt;
    }
    return std::u16string(value.GetString(), static_cast<size_t>(value.GetLength()));
  }
};

TEST_F(SettingsFile, SavesSectionsAndKeysInTheOrderTheyWereSet)
{
  {
    CIniFile ini(u"appconfig.dat");  // placed in the program's folder; absent, so created
    EXPECT_EQ(ini.GetFileName(), kPath);
    ini.SetValue(u"main", u"LastUserId", u"abc");
    ini.SetValue(u"main", u"RememberId", u"1");
    EXPECT_TRUE(ini.Save());
    EXPECT_EQ(ReadDeviceFile(kPath), Golden("remembered_account.dat"));
    ini.SetValue(u"main", u"LastUserId", u"xyz");  // the destructor saves as well
  }
  EXPECT_EQ(ReadDeviceFile(kPath), SettingsBytes(u"\r\n[main]\r\nLastUserId=xyz\r\nRememberId=1\r\n"));
  EXPECT_FALSE(DeviceFileExists(kPending));
  EXPECT_FALSE(DeviceFileExists(kKeptAside));
}

TEST_F(SettingsFile, LoadsAndWritesBackTheSameBytes)
{
  std::string golden = Golden("two_sections.dat");
  WriteDeviceFile(kPath, golden);
  CIniFile ini(kPath);
  EXPECT_EQ(Value(ini, u"main", u"LastUserId"), u"13812345678");
  EXPECT_EQ(Value(ini, u"main", u"LastUserPassword"), u"");
  EXPECT_EQ(Value(ini, u"main", u"Greeting"), u"你好，世界  ");
  EXPECT_EQ(Value(ini, u"trade", u"Unpaid"), u"3");
  EXPECT_EQ(Value(ini, u"Trade", u"Unpaid"), std::nullopt) << "section names keep their case";
  int unpaid = 0;
  EXPECT_TRUE(ini.GetInt(u"trade", u"Unpaid", unpaid));
  EXPECT_EQ(unpaid, 3);
  COLORREF color = 1;
  EXPECT_TRUE(ini.GetColor(u"trade", u"Color", color));
  EXPECT_EQ(color, 0x0080FFu);
  EXPECT_TRUE(ini.Save(u"\\copy.dat"));
  EXPECT_EQ(ReadDeviceFile(u"\\copy.dat"), golden);
}

struct ParseCase {
  const char* name;
  std::u16string_view text;  // after the byte-order mark
  const WCHAR* section;
  const WCHAR* key;
  std::optional<std::u16string_view> value;
};

void PrintTo(const ParseCase& c, std::ostream* out)
{
  *out << c.name;
}

class SettingsParse : public SettingsFile, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(SettingsParse, ReadsTheLooseGrammar)
{
  const ParseCase& c = GetParam();
  WriteDeviceFile(kPath, SettingsBytes(c.text));
  CIniFile ini;
  EXPECT_TRUE(ini.Load(kPath));
  std::optional<std::u16string> value = Value(ini, c.section, c.key);
  ASSERT_EQ(value.has_value(), c.value.has_value());
  if (value) {
    EXPECT_EQ(*value, *c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SettingsParse,
    ::testing::Values(
        ParseCase{"BlanksBeforeKeyAreSkippedKeyKeepsItsTrailingBlank", u"[s]\r\n  key = value  \r\n", u"s", u"key ",
                  u"value  "},
        ParseCase{"EmptyValue", u"[s]\r\nk=\r\nnext=1\r\n", u"s", u"k", u""},
        ParseCase{"LastValueWithoutLineEnd", u"[s]\r\nk=v", u"s", u"k", u"v"},
        ParseCase{"LastKeyWithoutEqualsIsDropped", u"[s]\r\nk", u"s", u"k", std::nullopt},
        ParseCase{"LastKeyWithEqualsOnlyIsDropped", u"[s]\r\nk=", u"s", u"k", std::nullopt},
        ParseCase{"LineBeforeTheFirstSectionIsIgnored", u"x=1\r\n[s]\r\ny=2\r\n", u"s", u"x", std::nullopt},
        ParseCase{"NoCommentSyntax", u"[s]\r\n; note=1\r\n", u"s", u"note", u"1"},
        ParseCase{"KeyRunsOnAcrossLineEnds", u"[s]\r\nk\r\nx=1\r\n", u"s", u"k\r\nx", u"1"},
        ParseCase{"KeysStartWithALetterOrDigit", u"[s]\r\n_k=1\r\n", u"s", u"k", u"1"},
        ParseCase{"ValueKeepsBracketsAndEquals", u"[s]\r\nk=[a]=b\r\n", u"s", u"k", u"[a]=b"},
        ParseCase{"LaterValueWins", u"[s]\r\nk=1\r\nk=2\r\n", u"s", u"k", u"2"},
        ParseCase{"RepeatedSectionAddsItsKeys", u"[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", u"s", u"a", u"1"},
        ParseCase{"SectionNameTakesAnythingUpToTheBracket", u"[a b\r\n[c]\r\nk=1\r\n", u"a b\r\n[c", u"k", u"1"},
        ParseCase{"TextStopsAtAZeroUnit", std::u16string_view(u"[s]\r\nk=1\0x=2\r\n", 14), u"s", u"x", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, RepeatedSectionIsWrittenOnce)
{
  WriteDeviceFile(kPath, SettingsBytes(u"[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n"));
  CIniFile ini(kPath);
  EXPECT_TRUE(ini.Save());
  EXPECT_EQ(ReadDeviceFile(kPath), SettingsBytes(u"\r\n[s]\r\na=1\r\nb=2\r\n\r\n[t]\r\n"));
}

// A settings file written without the byte-order mark (by hand or by another program) yields no
// values; saving must keep it aside rather than wipe it.
TEST_F(SettingsFile, FileWithoutByteOrderMarkIsKeptAsideWhenSaved)
{
  std::string original = "[main]\r\nLastUserId=abc\r\n";
  WriteDeviceFile(kPath, original);
  {
    CIniFile ini(u"appconfig.dat");
    EXPECT_EQ(Value(ini, u"main", u"LastUserId"), std::nullopt);
    ini.SetValue(u"main", u"RememberId", u"1");
  }
  EXPECT_EQ(ReadDeviceFile(kKeptAside), original);
  EXPECT_EQ(ReadDeviceFile(kPath), SettingsBytes(u"\r\n[main]\r\nRememberId=1\r\n"));

  CIniFile again(u"appconfig.dat");
  EXPECT_TRUE(again.Save());
  EXPECT_EQ(ReadDeviceFile(kKeptAside), original) << "a file that loaded is replaced, not kept aside";
}

TEST_F(SettingsFile, FailedSaveLeavesTheFileAsItWas)
{
  std::string golden = Golden("remembered_account.dat");
  WriteDeviceFile(kPath, golden);
  CIniFile ini(kPath);
  ini.SetValue(u"main", u"LastUserId", u"changed");
  ASSERT_TRUE(CreateDirectoryW(kPending, nullptr));  // the temporary file cannot be created
  EXPECT_FALSE(ini.Save());
  EXPECT_EQ(ReadDeviceFile(kPath), golden);
  ASSERT_TRUE(RemoveDirectoryW(kPending));
  EXPECT_TRUE(ini.Save());
  EXPECT_EQ(ReadDeviceFile(kPath), SettingsBytes(u"\r\n[main]\r\nLastUserId=changed\r\nRememberId=1\r\n"));
}

TEST_F(SettingsFile, LoadCompletesASaveThatStoppedBeforeTheRename)
{
  std::string golden = Golden("remembered_account.dat");
  WriteDeviceFile(kPending, golden);
  CIniFile ini(kPath);
  EXPECT_EQ(Value(ini, u"main", u"LastUserId"), u"abc");
  EXPECT_EQ(ReadDeviceFile(kPath), golden);
  EXPECT_FALSE(DeviceFileExists(kPending));
}

TEST_F(SettingsFile, NamesAndPaths)
{
  CIniFile ini;
  ini.SetFileName(u"appconfig.dat");
  EXPECT_EQ(ini.GetFileName(), kPath);
  ini.SetFileName(u"");
  EXPECT_EQ(ini.GetFileName(), kPath);
  ini.SetFileName(nullptr);
  EXPECT_EQ(ini.GetFileName(), kPath);
  ini.SetFileName(u"\\Temp\\other.dat");
  EXPECT_EQ(ini.GetFileName(), u"\\Temp\\other.dat");
  EXPECT_FALSE(ini.Load(u"\\missing.dat"));
  EXPECT_EQ(ini.GetFileName(), u"\\missing.dat") << "a failed load keeps the path";
  ini.Clear();
  EXPECT_FALSE(ini.Save()) << "no path";
}

TEST_F(SettingsFile, SectionsAndKeysAreAddedAndRemoved)
{
  CIniFile ini;
  EXPECT_TRUE(ini.AddSection(u"a"));
  EXPECT_FALSE(ini.AddSection(u"a"));
  ini.SetValue(u"b", u"k1", u"1");
  ini.SetInt(u"b", u"k2", -42);
  ini.SetColor(u"b", u"k3", RGB(1, 2, 3));
  ini.SetValue(u"a", u"k", u"x");
  EXPECT_TRUE(ini.Remove(u"b", u"k1"));
  EXPECT_FALSE(ini.Remove(u"b", u"k1"));
  EXPECT_FALSE(ini.Remove(u"c", nullptr));
  EXPECT_TRUE(ini.Save(u"\\s.dat"));
  EXPECT_EQ(ReadDeviceFile(u"\\s.dat"), SettingsBytes(u"\r\n[a]\r\nk=x\r\n\r\n[b]\r\nk2=-42\r\nk3=1,2,3\r\n"));
  EXPECT_TRUE(ini.Remove(u"a", nullptr));
  EXPECT_TRUE(ini.Save());
  EXPECT_EQ(ReadDeviceFile(u"\\s.dat"), SettingsBytes(u"\r\n[b]\r\nk2=-42\r\nk3=1,2,3\r\n"));
}

TEST(SettingsColor, ParseColorTakesDigitsAndCommas)
{
  struct {
    const WCHAR* text;
    COLORREF color;
  } cases[] = {
      {u"255,128,0", 0x0080FF},  {u"300,1,2", 0x02012C},    {u"", 0},
      {u" 1 , 2 , 3 ", 0x030201}, {u"1,2,3,4", 0x030201},   {u"7", 7},
      {u"1,,3", 0x030001},       {u"99999999999999,0,0", static_cast<COLORREF>(99999999999999ull % 256)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CIniFile::ParseColor(c.text), c.color) << CStringA(c.text).GetString();
  }
}

}  // namespace
