#include "package_place.h"

#include <algorithm>

#include "kernel/device_root.h"
#include "log_text.h"

namespace install {
namespace {

constexpr char16_t kDeviceFolder[] = u"\\Windows";

std::u16string KeyOfValue(std::u16string_view value)
{
  return std::u16string(value.substr(0, value.rfind(u'\\')));
}

bool Names(const std::vector<std::u16string>& list, std::u16string_view item)
{
  return std::any_of(list.begin(), list.end(), [&](const std::u16string& each) { return device::SameName(each, item); });
}

bool AnyWithin(const std::vector<std::u16string>& list, std::u16string_view ancestor)
{
  return std::any_of(list.begin(), list.end(), [&](const std::u16string& each) { return IsWithin(each, ancestor); });
}

// Whether a key lies in one of the keys of the list.
bool InAny(std::u16string_view key, const std::vector<std::u16string>& keys)
{
  return std::any_of(keys.begin(), keys.end(), [&](const std::u16string& each) { return IsWithin(key, each); });
}

using Owner = const InstalledPackage*;

template <typename Holds>
Owner FindOwner(const std::vector<InstalledPackage>& others, Holds holds)
{
  auto found = std::find_if(others.begin(), others.end(), holds);
  return found == others.end() ? nullptr : &*found;
}

// Whose folder holds the path, or lies in it.
Owner FolderOwner(std::u16string_view folder, const std::vector<InstalledPackage>& others)
{
  return FindOwner(others, [&](const InstalledPackage& other) {
    const std::u16string& theirs = other.record.folder;
    return !theirs.empty() && (IsWithin(folder, theirs) || IsWithin(theirs, folder));
  });
}

// Whose file the path is, or whose folder holds it.
Owner FileOwner(std::u16string_view path, const std::vector<InstalledPackage>& others)
{
  return FindOwner(others, [&](const InstalledPackage& other) {
    return Names(other.record.files, path) || (!other.record.folder.empty() && IsWithin(path, other.record.folder));
  });
}

// Whose keys a key taken whole (a service's, or one a removal takes) lies in or holds, or whose
// values it holds.
Owner WholeKeyOwner(std::u16string_view key, const std::vector<InstalledPackage>& others)
{
  return FindOwner(others, [&](const InstalledPackage& other) {
    return InAny(key, other.record.keys) || AnyWithin(other.record.keys, key) ||
           std::any_of(other.record.values.begin(), other.record.values.end(),
                       [&](const std::u16string& value) { return IsWithin(KeyOfValue(value), key); });
  });
}

// Whose value this is, or whose key holds it.
Owner ValueOwner(std::u16string_view value, const std::vector<InstalledPackage>& others)
{
  return FindOwner(others, [&](const InstalledPackage& other) {
    return Names(other.record.values, value) || InAny(KeyOfValue(value), other.record.keys);
  });
}

bool HoldsRecords(std::u16string_view key)
{
  return IsWithin(key, kInstallRecordsKey) || IsWithin(kInstallRecordsKey, key);
}

std::string Belongs(Owner owner)
{
  return "belongs to the installed package " + Host(owner->name);
}

}  // namespace

bool IsWithin(std::u16string_view path, std::u16string_view ancestor)
{
  return path.size() >= ancestor.size() && device::SameName(path.substr(0, ancestor.size()), ancestor) &&
         (path.size() == ancestor.size() || path[ancestor.size()] == u'\\');
}

std::optional<Trespass> FindTrespass(const PackagePlan& plan, const std::vector<InstalledPackage>& others)
{
  if (IsWithin(plan.folder, kDeviceFolder))
    return Trespass{plan.folder, "is the device's own folder"};
  if (Owner owner = FolderOwner(plan.folder, others))
    return Trespass{plan.folder,
                    "is not the package's own folder: " + Host(owner->record.folder) + " " + Belongs(owner)};
  for (const PlannedFile& file : plan.files) {
    if (!IsWithin(file.path, plan.folder) || device::SameName(file.path, plan.folder))
      return Trespass{file.path, "lies outside the package's folder " + Host(plan.folder)};
    if (Owner owner = FileOwner(file.path, others))
      return Trespass{file.path, Belongs(owner)};
  }
  for (const services::ServiceEntry& service : plan.services)
    if (Owner owner = WholeKeyOwner(ServiceKey(service), others))
      return Trespass{ServiceKey(service), "is a service that " + Belongs(owner)};
  for (const PlannedValue& value : plan.values) {
    std::u16string path = value.key + u"\\" + value.name;
    if (IsWithin(value.key, kInstallRecordsKey))
      return Trespass{path, "lies in the installer's records"};
    if (Owner owner = ValueOwner(path, others))
      return Trespass{path, Belongs(owner)};
  }
  return std::nullopt;
}

InstallRecord OwnPart(const InstallRecord& record, const std::vector<InstalledPackage>& others)
{
  InstallRecord own{record.folder, record.setup, {}, record.folders, {}, {}};
  for (const std::u16string& file : record.files)
    if (IsWithin(file, record.folder) && !device::SameName(file, record.folder) && !IsWithin(file, kDeviceFolder) &&
        !FileOwner(file, others))
      own.files.push_back(file);
  for (const std::u16string& key : record.keys)
    if (!HoldsRecords(key) && !WholeKeyOwner(key, others))
      own.keys.push_back(key);
  for (const std::u16string& value : record.values)
    if (!IsWithin(KeyOfValue(value), kInstallRecordsKey) && !ValueOwner(value, others))
      own.values.push_back(value);
  return own;
}

}  // namespace install
