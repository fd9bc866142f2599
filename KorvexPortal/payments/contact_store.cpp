#include "contact_store.h"

#include <tinyxml.h>

#include <string>
#include <string_view>

#include "file_helpers.h"
#include "file_replace.h"
#include "kernel/file_system.h"
#include "user_folder.h"

namespace {

constexpr WCHAR kFileName[] = u"ContactList";
constexpr char kRootName[] = "groups";
constexpr char kDefaultGroup[] = "default";
constexpr char kUnnamedContact[] = "Contact";
constexpr char kAccount[] = "account";
// The forms of a name that cannot be an element name: the element and its attribute.
constexpr char kGroupElement[] = "group";
constexpr char kContactElement[] = "contact";
constexpr char kName[] = "name";
// Element names hold at most 255 bytes, as they always have (they went through a 256-byte
// buffer); a longer name takes the attribute form.
constexpr size_t kMaxElementName = 255;

enum class FileState { Missing, Loaded, Damaged };

std::string ToFileText(const WCHAR* text)
{
  CStringA bytes(text);
  return std::string(bytes.GetString(), static_cast<size_t>(bytes.GetLength()));
}

// A character reference to U+0000 ends the text, as it would end it for every reader of it.
CStringW FromFileText(const std::string& text)
{
  return CStringW(text.c_str());
}

// Whether the parser reads name back as exactly this element name.
bool IsElementName(const std::string& name)
{
  if (name.empty() || name.size() > kMaxElementName) {
    return false;
  }
  TiXmlDocument probe;
  probe.Parse(("<" + name + "/>").c_str(), nullptr, TIXML_ENCODING_LEGACY);
  const TiXmlElement* element = probe.RootElement();
  return !probe.Error() && element != nullptr && element->ValueStr() == name;
}

// A child element of parent named name, or when name cannot be an element name, an element
// escapedTag holding the name in its "name" attribute.
TiXmlElement* AppendNamedElement(TiXmlNode& parent, const std::string& name, const char* escapedTag)
{
  bool plain = IsElementName(name);
  auto* element = new TiXmlElement(plain ? name.c_str() : escapedTag);
  if (!plain) {
    element->SetAttribute(kName, name.c_str());
  }
  parent.LinkEndChild(element);
  return element;
}

std::string NameOf(const TiXmlElement& element, const char* escapedTag)
{
  const std::string* name = element.ValueStr() == escapedTag ? element.Attribute(std::string(kName)) : nullptr;
  return name != nullptr ? *name : element.ValueStr();
}

void AppendContact(TiXmlElement& group, const std::string& name, const std::string& account)
{
  AppendNamedElement(group, name, kContactElement)->SetAttribute(kAccount, account.c_str());
}

// An empty document with the declaration and the root element; the root is returned.
TiXmlElement& StartDocument(TiXmlDocument& document)
{
  document.Clear();
  document.LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", "no"));
  auto* root = new TiXmlElement(kRootName);
  document.LinkEndChild(root);
  return *root;
}

// Reads the file into document. A file of blanks, like an absent one, is missing; one that
// cannot be read or does not parse whole is damaged. A loaded document may lack a root element.
FileState ReadDocument(const CStringW& path, TiXmlDocument& document)
{
  CompleteInterruptedWrite(path);
  if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
    return FileState::Missing;
  }
  CStringA bytes;
  if (!ReadWholeFile(path, bytes)) {
    return FileState::Damaged;
  }
  std::string_view text(bytes.GetString(), static_cast<size_t>(bytes.GetLength()));
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    return FileState::Missing;
  }
  // The parser stops at a zero byte, which would lose what follows it.
  if (text.find('\0') != std::string_view::npos) {
    return FileState::Damaged;
  }
  document.Parse(bytes.GetString(), nullptr, TIXML_ENCODING_LEGACY);
  return document.Error() ? FileState::Damaged : FileState::Loaded;
}

BOOL WriteDocument(const CStringW& path, const TiXmlDocument& document)
{
  TiXmlPrinter printer;
  document.Accept(&printer);
  return WriteFileWhole(path, CStringA(printer.CStr(), static_cast<int>(printer.Size())));
}

bool HasAccount(const TiXmlDocument& document, const std::string& account)
{
  const TiXmlElement* root = document.RootElement();
  for (const TiXmlElement* group = root ? root->FirstChildElement() : nullptr; group; group = group->NextSiblingElement()) {
    for (const TiXmlElement* contact = group->FirstChildElement(); contact; contact = contact->NextSiblingElement()) {
      const std::string* stored = contact->Attribute(std::string(kAccount));
      if (stored != nullptr && *stored == account) {
        return true;
      }
    }
  }
  return false;
}

BOOL ContactFilePath(const CStringW& logonId, CStringW& path)
{
  CStringW folder;
  if (!GetUserFolder(logonId, folder)) {
    return FALSE;
  }
  path = folder + kFileName;
  return TRUE;
}

// Before the file is written: a damaged file is moved aside, and the folders are made.
BOOL PrepareToWrite(const CStringW& logonId, const CStringW& path, FileState state)
{
  if (state == FileState::Damaged && !KeepFileAside(path)) {
    return FALSE;
  }
  CStringW folder;
  return CreateUserFolder(logonId, folder);
}

}  // namespace

CContactStore::CContactStore(const WCHAR* logonId) : logonId_(logonId) {}

BOOL CContactStore::Exists(const CContactRecord& record) const
{
  std::string account = ToFileText(record.account);
  CStringW path;
  TiXmlDocument document;
  return !account.empty() && ContactFilePath(logonId_, path) && ReadDocument(path, document) == FileState::Loaded &&
         HasAccount(document, account);
}

int CContactStore::AddContact(const CContactRecord& record)
{
  std::string account = ToFileText(record.account);
  if (account.empty()) {
    return -1;
  }
  CStringW path;
  if (!ContactFilePath(logonId_, path)) {
    return 1;
  }
  TiXmlDocument document;
  FileState state = ReadDocument(path, document);
  if (state == FileState::Loaded && HasAccount(document, account)) {
    return 0;
  }
  if (!PrepareToWrite(logonId_, path, state)) {
    return 1;
  }
  TiXmlElement* root = state == FileState::Loaded ? document.RootElement() : nullptr;
  if (root == nullptr) {
    root = &StartDocument(document);
  }
  TiXmlElement* group = root->FirstChildElement(kDefaultGroup);
  if (group == nullptr) {
    group = AppendNamedElement(*root, kDefaultGroup, kGroupElement);
  }
  std::string name = ToFileText(record.name);
  AppendContact(*group, name.empty() ? kUnnamedContact : name, account);
  return WriteDocument(path, document) ? 0 : 1;
}

BOOL CContactStore::SaveServerList(const ContactGroupList& groups)
{
  CStringW path;
  if (!ContactFilePath(logonId_, path)) {
    return FALSE;
  }
  TiXmlDocument document;
  if (!PrepareToWrite(logonId_, path, ReadDocument(path, document))) {
    return FALSE;
  }
  TiXmlElement& root = StartDocument(document);
  for (const auto& group : groups) {
    std::string groupName = ToFileText(group->groupName.c_str());
    TiXmlElement* groupElement = AppendNamedElement(root, groupName.empty() ? kDefaultGroup : groupName, kGroupElement);
    for (const auto& entry : group->entries) {
      AppendContact(*groupElement, ToFileText(entry->name.c_str()), ToFileText(entry->account.c_str()));
    }
  }
  return WriteDocument(path, document);
}

BOOL CContactStore::Load(std::vector<CContactGroup>& groups) const
{
  CStringW path;
  TiXmlDocument document;
  if (!ContactFilePath(logonId_, path) || ReadDocument(path, document) != FileState::Loaded || document.RootElement() == nullptr) {
    return TRUE;
  }
  for (const TiXmlElement* group = document.RootElement()->FirstChildElement(); group; group = group->NextSiblingElement()) {
    CContactGroup loaded;
    loaded.name = FromFileText(NameOf(*group, kGroupElement));
    for (const TiXmlElement* contact = group->FirstChildElement(); contact; contact = contact->NextSiblingElement()) {
      const std::string* account = contact->Attribute(std::string(kAccount));
      loaded.contacts.push_back({FromFileText(NameOf(*contact, kContactElement)), FromFileText(account ? *account : std::string())});
    }
    groups.push_back(std::move(loaded));
  }
  return FALSE;
}
