#include "contact_store.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device_files.h"
#include "user_folder.h"

namespace {

using common_test::DeviceFileExists;
using common_test::ReadDeviceFile;
using common_test::WriteDeviceFile;

constexpr const WCHAR* kLogonId = u"demo@korvex.cn";
constexpr const WCHAR* kFile = u"\\Temp\\KorvexPortal\\demo@korvex.cn\\ContactList";
constexpr const WCHAR* kKeptAside = u"\\Temp\\KorvexPortal\\demo@korvex.cn\\ContactList.bak";

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"gb2312\" standalone=\"no\" ?>\n";

struct Contact {
  std::u16string name;
  std::u16string account;
  bool operator==(const Contact&) const = default;
};
struct Group {
  std::u16string name;
  std::vector<Contact> contacts;
  bool operator==(const Group&) const = default;
};

void PrintTo(const Group& group, std::ostream* out)
{
  *out << CStringA(group.name.c_str()).GetString() << ":";
  for (const Contact& contact : group.contacts) {
    *out << " " << CStringA(contact.name.c_str()).GetString() << "(" << CStringA(contact.account.c_str()).GetString() << ")";
  }
}

ContactGroupList ServerList(const std::vector<Group>& groups)
{
  ContactGroupList list;
  for (const Group& group : groups) {
    auto server = std::make_unique<ContactListGroup>();
    server->groupName = group.name;
    for (const Contact& contact : group.contacts) {
      server->entries.push_back(std::make_unique<ContactListEntry>(ContactListEntry{contact.account, contact.name}));
    }
    list.push_back(std::move(server));
  }
  return list;
}

// The groups Load gives; nullopt when it reports that there is no file to show.
std::optional<std::vector<Group>> Loaded(const CContactStore& store)
{
  std::vector<CContactGroup> groups;
  if (store.Load(groups)) {
    EXPECT_TRUE(groups.empty());
    return std::nullopt;
  }
  std::vector<Group> loaded;
  for (const CContactGroup& group : groups) {
    Group copy{group.name.GetString(), {}};
    for (const CContactRecord& contact : group.contacts) {
      copy.contacts.push_back({contact.name.GetString(), contact.account.GetString()});
    }
    loaded.push_back(copy);
  }
  return loaded;
}

class ContactStore : public common_test::DeviceRootTest {
 protected:
  // The user's contact file as another program or a damaged disk left it.
  static void PutFile(const std::string& bytes)
  {
    CStringW folder;
    ASSERT_TRUE(CreateUserFolder(kLogonId, folder));
    WriteDeviceFile(kFile, bytes);
  }

  CContactStore store_{kLogonId};
};

TEST_F(ContactStore, AddsOneContactInTheSpecifiedLayout)
{
  EXPECT_EQ(Loaded(store_), std::nullopt) << "no file yet";
  EXPECT_EQ(store_.AddContact({u"张三", u"zhangsan@korvex.cn"}), 0);
  EXPECT_EQ(ReadDeviceFile(kFile), std::string(kDeclaration) +
                                       "<groups>\n"
                                       "    <default>\n"
                                       "        <\xD5\xC5\xC8\xFD account=\"zhangsan@korvex.cn\" />\n"
                                       "    </default>\n"
                                       "</groups>\n");
  EXPECT_EQ(Loaded(store_), (std::vector<Group>{{u"default", {{u"张三", u"zhangsan@korvex.cn"}}}}));
}

TEST_F(ContactStore, AddsEachAccountOnceAndNeverAnEmptyOne)
{
  EXPECT_EQ(store_.AddContact({u"张三", u"zhangsan@korvex.cn"}), 0);
  EXPECT_EQ(store_.AddContact({u"另一个名字", u"zhangsan@korvex.cn"}), 0);
  EXPECT_EQ(store_.AddContact({u"", u"13800138000"}), 0);
  std::string before = ReadDeviceFile(kFile);
  EXPECT_EQ(store_.AddContact({u"李四", u""}), -1);
  EXPECT_EQ(ReadDeviceFile(kFile), before);

  EXPECT_NE(before.find("<Contact account=\"13800138000\" />"), std::string::npos) << before;
  EXPECT_EQ(Loaded(store_),
            (std::vector<Group>{{u"default", {{u"张三", u"zhangsan@korvex.cn"}, {u"Contact", u"13800138000"}}}}));
  EXPECT_TRUE(store_.Exists({u"", u"13800138000"}));
  EXPECT_FALSE(store_.Exists({u"张三", u"ZHANGSAN@korvex.cn"})) << "accounts compare exactly";
  EXPECT_FALSE(store_.Exists({u"张三", u""}));
}

TEST_F(ContactStore, ServerListReplacesTheFileInItsOrder)
{
  ASSERT_EQ(store_.AddContact({u"旧", u"old@korvex.cn"}), 0);
  std::vector<Group> server{{u"同事", {{u"王五", u"wangwu@korvex.cn"}, {u"赵六", u"13900139000"}}},
                            {u"", {{u"钱七", u"qianqi@korvex.cn"}}},
                            {u"空组", {}}};
  EXPECT_TRUE(store_.SaveServerList(ServerList(server)));

  server[1].name = u"default";
  EXPECT_EQ(Loaded(store_), server);
  EXPECT_FALSE(store_.Exists({u"旧", u"old@korvex.cn"}));
  EXPECT_TRUE(store_.Exists({u"", u"13900139000"}));
  EXPECT_FALSE(DeviceFileExists(kKeptAside)) << "a file that loaded is replaced, not kept aside";

  // A contact added later goes into the first "default" group.
  EXPECT_EQ(store_.AddContact({u"孙八", u"sunba@korvex.cn"}), 0);
  server[1].contacts.push_back({u"孙八", u"sunba@korvex.cn"});
  EXPECT_EQ(Loaded(store_), server);
}

// Names that the file's parser would not read back as element names are kept whole in a "name"
// attribute; names that it reads back keep the element form.
struct NameCase {
  const char* label;
  std::u16string name;
  bool elementForm;
};

void PrintTo(const NameCase& c, std::ostream* out)
{
  *out << c.label;
}

class ContactNames : public ContactStore, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ContactNames, RoundTripWithoutLoss)
{
  const NameCase& c = GetParam();
  std::vector<Group> server{{c.name, {{c.name, u"first@korvex.cn"}}}, {u"朋友", {{u"后面的人", u"later@korvex.cn"}}}};
  ASSERT_TRUE(store_.SaveServerList(ServerList(server)));
  EXPECT_EQ(Loaded(store_), server) << ReadDeviceFile(kFile);

  std::string file = ReadDeviceFile(kFile);
  std::string name(CStringA(c.name.c_str()).GetString());
  EXPECT_EQ(file.find("<" + name + " account=") != std::string::npos, c.elementForm) << file;
  EXPECT_EQ(file.find("<" + name + ">") != std::string::npos, c.elementForm) << file;

  // One at a time, into a file that already holds the name.
  ASSERT_EQ(store_.AddContact({c.name.c_str(), u"added@korvex.cn"}), 0);
  server.push_back({u"default", {{c.name, u"added@korvex.cn"}}});
  EXPECT_EQ(Loaded(store_), server) << ReadDeviceFile(kFile);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ContactNames,
    ::testing::Values(NameCase{"Chinese", u"张三", true}, NameCase{"Latin", u"Li_Si-2.0", true},
                      NameCase{"LiteralContact", u"contact", true}, NameCase{"LiteralGroup", u"group", true},
                      NameCase{"Blank", u"Li Si", false}, NameCase{"LeadingBlank", u" 张三 ", false},
                      NameCase{"LeadingDigit", u"2010同事", false},
                      NameCase{"TrailByteAt", u"丂", false},            // 81 40
                      NameCase{"TrailByteBackslash", u"乗", false},     // 81 5C
                      NameCase{"TrailByteBrace", u"亄", false},         // 81 7B
                      NameCase{"Question", u"谁?", false}, NameCase{"At", u"a@b", false},
                      NameCase{"Markup", u"<x a=\"1\" b='2'>&amp;", false}, NameCase{"CharacterReference", u"a&#x41;b", false},
                      NameCase{"LineBreaks", u"一\r\n二\t三", false},
                      NameCase{"Long", std::u16string(128, u'长'), false},  // 256 bytes
                      NameCase{"LongestElement", std::u16string(127, u'长') + u"x", true}),  // 255 bytes
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ContactStore, EmptyNamesFromTheGatewayAreKept)
{
  std::vector<Group> server{{u"同事", {{u"", u"noname@korvex.cn"}}}};
  ASSERT_TRUE(store_.SaveServerList(ServerList(server)));
  EXPECT_EQ(Loaded(store_), server);
}

// A file that does not parse shows nothing and is moved aside, whole, before the next write.
struct DamagedCase {
  const char* label;
  std::string bytes;
};

void PrintTo(const DamagedCase& c, std::ostream* out)
{
  *out << c.label;
}

class DamagedContactFile : public ContactStore, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedContactFile, IsKeptAsideNotOverwritten)
{
  const std::string& damaged = GetParam().bytes;
  PutFile(damaged);

  EXPECT_EQ(Loaded(store_), std::nullopt);
  EXPECT_FALSE(store_.Exists({u"", u"a@korvex.cn"}));
  EXPECT_EQ(ReadDeviceFile(kFile), damaged) << "reading changes nothing";

  EXPECT_EQ(store_.AddContact({u"新", u"new@korvex.cn"}), 0);
  EXPECT_EQ(ReadDeviceFile(kKeptAside), damaged);
  EXPECT_EQ(Loaded(store_), (std::vector<Group>{{u"default", {{u"新", u"new@korvex.cn"}}}}));

  WriteDeviceFile(kFile, damaged);
  EXPECT_TRUE(store_.SaveServerList(ServerList({{u"同事", {{u"王五", u"wangwu@korvex.cn"}}}})));
  EXPECT_EQ(ReadDeviceFile(kKeptAside), damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedContactFile,
    ::testing::Values(
        // What the unescaped form made of a name with a blank: everything after it would be lost.
        DamagedCase{"UnescapedName", std::string(kDeclaration) +
                                         "<groups><default><a@korvex.cn account=\"1\" /><Li Si account=\"2\" />"
                                         "<b account=\"3\" /></default></groups>\n"},
        DamagedCase{"Truncated", std::string(kDeclaration) + "<groups><default><a account=\"1\" />"},
        DamagedCase{"ZeroByte", std::string(kDeclaration) + "<groups />" + std::string(1, '\0') + "<more />"},
        DamagedCase{"NotXml", "\xFF\xFEgarbage"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ContactStore, FileWithoutElementsCountsAsMissing)
{
  for (std::string bytes : {std::string(""), std::string(" \r\n"), std::string(kDeclaration)}) {
    PutFile(bytes);
    EXPECT_EQ(Loaded(store_), std::nullopt);
    EXPECT_EQ(store_.AddContact({u"新", u"new@korvex.cn"}), 0);
    EXPECT_EQ(Loaded(store_), (std::vector<Group>{{u"default", {{u"新", u"new@korvex.cn"}}}}));
    EXPECT_FALSE(DeviceFileExists(kKeptAside));
  }
}

TEST_F(ContactStore, EachUserHasAFileAndARefusedIdHasNone)
{
  ASSERT_EQ(store_.AddContact({u"张三", u"zhangsan@korvex.cn"}), 0);
  CContactStore other(u"13800138000");
  EXPECT_FALSE(other.Exists({u"张三", u"zhangsan@korvex.cn"}));
  EXPECT_EQ(Loaded(other), std::nullopt);

  for (const WCHAR* refused : {u"", u"..", u"..\\demo@korvex.cn", u"a/b"}) {
    CContactStore store(refused);
    EXPECT_FALSE(store.Exists({u"张三", u"zhangsan@korvex.cn"})) << CStringA(refused).GetString();
    EXPECT_EQ(Loaded(store), std::nullopt);
    EXPECT_EQ(store.AddContact({u"李四", u"lisi@korvex.cn"}), 1);
    EXPECT_FALSE(store.SaveServerList(ServerList({{u"同事", {{u"王五", u"wangwu@korvex.cn"}}}})));
  }
  EXPECT_FALSE(DeviceFileExists(u"\\Temp\\KorvexPortal\\ContactList"));
  EXPECT_EQ(Loaded(store_), (std::vector<Group>{{u"default", {{u"张三", u"zhangsan@korvex.cn"}}}}));
}

TEST_F(ContactStore, FailedSaveLeavesTheOldFile)
{
  ASSERT_EQ(store_.AddContact({u"张三", u"zhangsan@korvex.cn"}), 0);
  std::string before = ReadDeviceFile(kFile);
  ASSERT_TRUE(CreateDirectoryW(u"\\Temp\\KorvexPortal\\demo@korvex.cn\\ContactList.tmp", nullptr));
  EXPECT_EQ(store_.AddContact({u"李四", u"lisi@korvex.cn"}), 1);
  EXPECT_FALSE(store_.SaveServerList(ServerList({})));
  EXPECT_EQ(ReadDeviceFile(kFile), before);
}

}  // namespace
