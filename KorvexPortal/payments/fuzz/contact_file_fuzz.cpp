// Contact files of any content: loading never fails unsafely; what a load keeps is written back
// and loaded again unchanged; and adding a contact never loses a file that held elements: it is
// either extended or kept aside whole.
#include <tinyxml.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "contact_store.h"
#include "kernel/file_system.h"
#include "kernel/wide_stdio.h"
#include "testing/device_root.h"

namespace {

constexpr const WCHAR* kLogonId = u"fuzz";
constexpr const WCHAR* kFile = u"\\Temp\\KorvexPortal\\fuzz\\ContactList";
constexpr const WCHAR* kKeptAside = u"\\Temp\\KorvexPortal\\fuzz\\ContactList.bak";

std::string ReadAll(const WCHAR* path)
{
  std::string bytes;
  if (FILE* file = _wfopen(path, u"rb")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
      bytes.append(buffer, got);
    }
    fclose(file);
  }
  return bytes;
}

void WriteAll(const WCHAR* path, const std::string& bytes)
{
  FILE* file = _wfopen(path, u"wb");
  if (file == nullptr || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    abort();
  }
  fclose(file);
}

ContactGroupList ToServerList(const std::vector<CContactGroup>& groups)
{
  ContactGroupList list;
  for (const CContactGroup& group : groups) {
    auto server = std::make_unique<ContactListGroup>();
    server->groupName = group.name.GetString();
    for (const CContactRecord& contact : group.contacts) {
      server->entries.push_back(
          std::make_unique<ContactListEntry>(ContactListEntry{contact.account.GetString(), contact.name.GetString()}));
    }
    list.push_back(std::move(server));
  }
  return list;
}

bool SameGroups(const std::vector<CContactGroup>& a, const std::vector<CContactGroup>& b)
{
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    // A group without a name is written as "default".
    CStringW name = a[i].name.IsEmpty() ? CStringW(u"default") : a[i].name;
    if (name != b[i].name || a[i].contacts.size() != b[i].contacts.size()) {
      return false;
    }
    for (size_t j = 0; j < a[i].contacts.size(); ++j) {
      if (a[i].contacts[j].name != b[i].contacts[j].name || a[i].contacts[j].account != b[i].contacts[j].account) {
        return false;
      }
    }
  }
  return true;
}

// Whether the bytes hold an element the parser reads: the content a save must not lose.
bool HoldsElements(const std::string& bytes)
{
  TiXmlDocument document;
  document.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_LEGACY);
  return document.RootElement() != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static device::testing::ScopedDeviceRoot root;
  static bool folders = CreateDirectoryW(u"\\Temp", nullptr) | CreateDirectoryW(u"\\Temp\\KorvexPortal", nullptr) |
                        CreateDirectoryW(u"\\Temp\\KorvexPortal\\fuzz", nullptr);
  (void)folders;
  std::string input(reinterpret_cast<const char*>(data), size);
  DeleteFileW(kKeptAside);
  WriteAll(kFile, input);

  CContactStore store(kLogonId);
  std::vector<CContactGroup> first;
  if (!store.Load(first)) {
    if (!store.SaveServerList(ToServerList(first))) {
      abort();
    }
    std::vector<CContactGroup> second;
    if (store.Load(second) || !SameGroups(first, second)) {
      abort();
    }
    return 0;
  }
  if (store.AddContact({u"新", u"new@korvex.cn"}) != 0) {
    abort();
  }
  if (HoldsElements(input) && ReadAll(kKeptAside) != input) {
    abort();
  }
  return 0;
}
