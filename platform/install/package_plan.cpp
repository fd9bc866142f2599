#include "package_plan.h"

#include "kernel/device_root.h"
#include "registry/registry.h"
#include "registry_changes.h"
#include "registry_tree.h"

namespace install {
namespace {

class Converter {
 public:
  explicit Converter(std::string* problem) : problem_(problem) {}

  bool Fail(const std::string& what)
  {
    if (problem_->empty())
      *problem_ = what;
    return false;
  }

  bool Text(const std::string& text, std::u16string& out)
  {
    std::optional<std::u16string> wide = device::FromHost(text);
    if (!wide)
      return Fail("\"" + text + "\" is not UTF-8");
    out = std::move(*wide);
    return true;
  }

  // A device path below the root that the device accepts.
  bool Path(const std::string& text, std::u16string& out)
  {
    if (!Text(text, out))
      return false;
    std::optional<device::MappedPath> mapped = device::MapPath(out);
    if (!mapped || mapped->host == device::RootPath())
      return Fail("the device refuses the path " + text);
    return true;
  }

  bool Key(const std::string& text, std::u16string& out)
  {
    if (!Text(text, out))
      return false;
    registry::KeyPath names = SplitKey(out);
    for (const std::u16string& name : names)
      if (!registry::IsValidKeyName(name))
        return Fail("the registry refuses the key " + text);
    return !names.empty() || Fail("the registry refuses the key " + text);
  }

 private:
  std::string* problem_;
};

template <typename T>
std::vector<BYTE> BytesOf(const T* data, size_t count)
{
  const BYTE* start = reinterpret_cast<const BYTE*>(data);
  return std::vector<BYTE>(start, start + count * sizeof(T));
}

}  // namespace

std::u16string ServiceKey(const services::ServiceEntry& service)
{
  return u"HKEY_LOCAL_MACHINE\\" + services::ServiceKeyPath(service.name);
}

std::optional<PackagePlan> PlanPackage(const PackageManifest& manifest, std::string* problem)
{
  problem->clear();
  Converter convert(problem);
  PackagePlan plan;
  if (!convert.Text(manifest.name, plan.name) || !convert.Path(manifest.folder, plan.folder) ||
      (!manifest.setup.empty() && !convert.Path(manifest.setup, plan.setup)))
    return std::nullopt;
  for (size_t i = 0; i < manifest.files.size(); ++i) {
    PlannedFile& file = plan.files.emplace_back(PlannedFile{u"", manifest.files[i].program});
    if (!convert.Path(manifest.files[i].path, file.path))
      return std::nullopt;
  }
  for (const PackageService& service : manifest.services) {
    services::ServiceEntry& entry = plan.services.emplace_back();
    entry.index = service.index;
    entry.context = service.context;
    entry.keep = service.keep;
    entry.port = service.port;
    if (!convert.Text(service.key, entry.name) || !convert.Path(service.library, entry.dll) ||
        !convert.Text(service.prefix, entry.prefix) ||
        !convert.Path(service.folder.empty() ? manifest.folder : service.folder, entry.instDir))
      return std::nullopt;
    if (!registry::IsValidKeyName(entry.name) || entry.prefix.size() != 3) {
      convert.Fail("the service " + service.key + " cannot be registered");
      return std::nullopt;
    }
  }
  for (const PackageValue& value : manifest.values) {
    PlannedValue& planned = plan.values.emplace_back();
    if (!convert.Key(value.key, planned.key) || !convert.Text(value.name, planned.name))
      return std::nullopt;
    if (planned.name.size() > registry::kMaxNameLength) {
      convert.Fail("the registry refuses the value name " + value.name);
      return std::nullopt;
    }
    if (value.isNumber) {
      planned.type = REG_DWORD;
      planned.data = BytesOf(&value.number, 1);
    } else {
      std::u16string text;
      if (!convert.Text(value.text, text))
        return std::nullopt;
      planned.type = REG_SZ;
      planned.data = BytesOf(text.c_str(), text.size() + 1);
    }
  }
  return plan;
}

}  // namespace install
