#include "package.h"

#include <openssl/evp.h>

#include <map>

#include "cabinet.h"

namespace install {

std::string Sha256Hex(const std::vector<uint8_t>& bytes)
{
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

std::optional<Package> ReadPackage(const std::vector<uint8_t>& cabinet, std::string* problem)
{
  std::optional<std::vector<CabinetFile>> entries = ReadCabinet(cabinet, problem);
  if (!entries)
    return std::nullopt;
  std::map<std::string, CabinetFile*> byName;
  for (CabinetFile& entry : *entries)
    if (!byName.emplace(entry.name, &entry).second) {
      *problem = "the cabinet holds " + entry.name + " twice";
      return std::nullopt;
    }
  auto manifestEntry = byName.find(kManifestName);
  if (manifestEntry == byName.end()) {
    *problem = std::string("the cabinet holds no ") + kManifestName;
    return std::nullopt;
  }
  const std::vector<uint8_t>& text = manifestEntry->second->data;
  std::string manifestProblem;
  std::optional<PackageManifest> manifest = ParseManifest(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), ManifestKind::manifest, &manifestProblem);
  if (!manifest) {
    *problem = std::string(kManifestName) + " " + manifestProblem;
    return std::nullopt;
  }
  byName.erase(manifestEntry);
  Package package{std::move(*manifest), {}};
  for (const PackageFile& file : package.manifest.files) {
    auto found = byName.find(CabinetName(file));
    if (found == byName.end()) {
      *problem = "the cabinet lacks " + file.path;
      return std::nullopt;
    }
    if (found->second->data.size() != file.size || Sha256Hex(found->second->data) != file.sha256) {
      *problem = file.path + " is not the file the manifest lists";
      return std::nullopt;
    }
    package.contents.push_back(std::move(found->second->data));
    byName.erase(found);
  }
  if (!byName.empty()) {
    *problem = "the manifest does not list " + byName.begin()->first;
    return std::nullopt;
  }
  return package;
}

bool WritePackage(const std::string& hostPath, const Package& package, std::string* problem)
{
  PackageManifest manifest = package.manifest;
  std::vector<CabinetFile> entries;
  for (size_t i = 0; i < manifest.files.size(); ++i) {
    PackageFile& file = manifest.files[i];
    file.size = package.contents[i].size();
    file.sha256 = Sha256Hex(package.contents[i]);
    entries.push_back({CabinetName(file), package.contents[i], file.program});
  }
  std::string text = WriteManifest(manifest);
  // The manifest is read back as the installer reads it, so a package that it would refuse (two
  // files of one path once folders are expanded, say) is never made.
  if (!ParseManifest(text, ManifestKind::manifest, problem))
    return false;
  entries.insert(entries.begin(), {kManifestName, std::vector<uint8_t>(text.begin(), text.end()), false});
  return WriteCabinet(hostPath, entries, problem);
}

}  // namespace install
