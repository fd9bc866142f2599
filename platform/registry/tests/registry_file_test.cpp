#include "registry_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using registry::Key;
using registry::ParseTree;
using registry::SerializeTree;
using registry::Tree;

std::vector<BYTE> Utf16Bytes(std::u16string_view text, bool terminator) {
  std::vector<BYTE> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<BYTE>(c & 0xFF));
    bytes.push_back(static_cast<BYTE>(c >> 8));
  }
  if (terminator) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

Key& Path(Tree& tree, std::initializer_list<std::u16string_view> names) {
  Key* key = &tree.Root();
  for (auto name : names) key = &key->AddSubkey(name);
  return *key;
}

void ExpectSameKey(const Key& a, const Key& b) {
  EXPECT_EQ(a.Name(), b.Name());
  ASSERT_EQ(a.Values().size(), b.Values().size());
  for (size_t i = 0; i < a.Values().size(); ++i) {
    EXPECT_EQ(a.Values()[i].name, b.Values()[i].name);
    EXPECT_EQ(a.Values()[i].type, b.Values()[i].type);
    EXPECT_EQ(a.Values()[i].data, b.Values()[i].data);
  }
  ASSERT_EQ(a.Subkeys().size(), b.Subkeys().size());
  for (size_t i = 0; i < a.Subkeys().size(); ++i) ExpectSameKey(*a.Subkeys()[i], *b.Subkeys()[i]);
}

TEST(RegistryFile, IsReadableText) {
  Tree tree;
  Key& apn = Path(tree, {u"HKEY_LOCAL_MACHINE", u"Software", u"Korvex", u"APN"});
  apn.SetValue(u"DestNetAPN", 1, Utf16Bytes(u"cmwap", true));
  apn.SetValue(u"ResetConnection", 4, {1, 0, 0, 0});
  apn.SetValue(u"DestNetGUID", 3, {0x44, 0xF1, 0x6E, 0x43});
  Path(tree, {u"HKEY_CURRENT_USER", u"Empty"});

  EXPECT_EQ(SerializeTree(tree),
            "DEVICE-REGISTRY 1\n"
            "[HKEY_LOCAL_MACHINE]\n"
            "[HKEY_LOCAL_MACHINE\\Software]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Korvex]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Korvex\\APN]\n"
            "\"DestNetAPN\"=sz:\"cmwap\"\n"
            "\"ResetConnection\"=dword:00000001\n"
            "\"DestNetGUID\"=hex(3):44f16e43\n"
            "[HKEY_CURRENT_USER]\n"
            "[HKEY_CURRENT_USER\\Empty]\n");
}

TEST(RegistryFile, KeepsEveryNameAndEveryByteExactly) {
  Tree tree;
  Key& key = Path(tree, {u"HKEY_CURRENT_USER", u"接入点 [设置]", u"Sub\U0001F600"});
  const struct {
    std::u16string name;
    DWORD type;
    std::vector<BYTE> data;
  } values[] = {
      {u"", 1, Utf16Bytes(u"default", true)},
      {u"quote \" and back\\slash", 1, Utf16Bytes(u"C:\\\"x\"", true)},
      {u"line\r\nbreak\ttab", 1, Utf16Bytes(u"中文\u0001\U0001F600", true)},
      {std::u16string(u"lone \xD800 surrogate"), 1, Utf16Bytes(std::u16string(u"\xDC00\xD83D"), true)},
      {u"no terminator", 1, Utf16Bytes(u"abc", false)},
      {u"inner zero", 1, Utf16Bytes(std::u16string(u"a\0b", 3), true)},
      {u"odd size", 1, {0x41}},
      {u"empty binary", 3, {}},
      {u"short dword", 4, {1, 2}},
      {u"multi", 7, Utf16Bytes(std::u16string(u"a\0b\0", 4), true)},
      {u"big type", 0xFFFFFFFF, {0xFF}},
  };
  for (const auto& v : values) key.SetValue(v.name, v.type, v.data);

  Tree read;
  ASSERT_TRUE(ParseTree(SerializeTree(tree), read)) << SerializeTree(tree);
  ExpectSameKey(tree.Root(), read.Root());
}

TEST(RegistryFile, RefusesWhatIsNotARegistryFile) {
  const std::string header = "DEVICE-REGISTRY 1\n";
  const char* bodies[] = {
      "\"v\"=dword:00000001\n",                    // a value before any key
      "[HKEY_SOMEWHERE\\x]\n",                      // not a hive
      "[HKEY_LOCAL_MACHINE\\\\x]\n",                // an empty key name
      "[HKEY_LOCAL_MACHINE]\n\"v\"=dword:1\n",      // a short dword
      "[HKEY_LOCAL_MACHINE]\n\"v\"=hex(3):abc\n",   // half a byte
      "[HKEY_LOCAL_MACHINE]\n\"v\"=hex(x):00\n",    // no type number
      "[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"open\n",    // an open quote
      "[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"\\q\"\n",   // an unknown escape
      "[HKEY_LOCAL_MACHINE]\n\"v\"=text:\"a\"\n",   // an unknown form
      "[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"\xC3\x28\"\n",  // malformed UTF-8
      "[HKEY_LOCAL_MACHINE]\n\"v\"=dword:00000001\n\"V\"=dword:00000002\n",  // a value twice
  };
  Tree tree;
  EXPECT_FALSE(ParseTree("REGEDIT4\n", tree));
  for (const char* body : bodies) EXPECT_FALSE(ParseTree(header + body, tree)) << body;

  EXPECT_TRUE(ParseTree(header + "; a comment\n\n[hkey_local_machine\\A]\r\n\"v\"=dword:0000000A\r\n", tree));
  ASSERT_NE(tree.Find({u"HKEY_LOCAL_MACHINE", u"a"}), nullptr);
  EXPECT_EQ(tree.Find({u"HKEY_LOCAL_MACHINE", u"a"})->FindValue(u"V")->data, (std::vector<BYTE>{10, 0, 0, 0}));
}

}  // namespace
