#include "package.h"

#include <openssl/evp.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

namespace install {
namespace {

namespace fs = std::filesystem;

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype([](EVP_MD_CTX* context) { EVP_MD_CTX_free(context); })>;

std::string Hex(const unsigned char* digest, unsigned int size)
{
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

// The SHA-256 digest of a host file read a block at a time, with its size; nothing when it
// cannot be read.
std::optional<std::pair<uint64_t, std::string>> FileDigest(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  DigestContext context(EVP_MD_CTX_new());
  if (!in || !context || !EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr))
    return std::nullopt;
  std::vector<char> block(64 * 1024);
  uint64_t size = 0;
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
    EVP_DigestUpdate(context.get(), block.data(), static_cast<size_t>(in.gcount()));
    size += static_cast<uint64_t>(in.gcount());
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (in.bad() || !EVP_DigestFinal_ex(context.get(), digest, &length))
    return std::nullopt;
  return std::pair(size, Hex(digest, length));
}

}  // namespace

std::string Sha256Hex(const std::vector<uint8_t>& bytes)
{
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  return Hex(digest, size);
}

bool PackageReader::Open(const std::string& hostPath, std::string* problem)
{
  if (!cabinet_.Open(hostPath, problem))
    return false;
  const std::vector<CabinetEntry>& entries = cabinet_.Entries();
  std::map<std::string, size_t> byName;
  for (size_t i = 0; i < entries.size(); ++i)
    if (!byName.emplace(entries[i].name, i).second) {
      *problem = "the cabinet holds " + entries[i].name + " twice";
      return false;
    }
  auto manifestEntry = byName.find(kManifestName);
  if (manifestEntry == byName.end()) {
    *problem = std::string("the cabinet holds no ") + kManifestName;
    return false;
  }
  if (entries[manifestEntry->second].size > kManifestSizeLimit) {
    *problem = std::string(kManifestName) + " is larger than " + std::to_string(kManifestSizeLimit) + " bytes";
    return false;
  }
  std::optional<std::vector<uint8_t>> text = cabinet_.Read(manifestEntry->second, problem);
  if (!text)
    return false;
  std::string manifestProblem;
  std::optional<PackageManifest> manifest = ParseManifest(
      std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), ManifestKind::manifest, &manifestProblem);
  if (!manifest) {
    *problem = std::string(kManifestName) + " " + manifestProblem;
    return false;
  }
  byName.erase(manifestEntry);
  uint64_t total = 0;
  for (const PackageFile& file : manifest->files) {
    if (file.size > kPackageSizeLimit - total) {
      *problem = "the files come to more than " + std::to_string(kPackageSizeLimit) + " bytes";
      return false;
    }
    total += file.size;
  }
  entries_.clear();
  for (const PackageFile& file : manifest->files) {
    auto found = byName.find(CabinetName(file));
    if (found == byName.end()) {
      *problem = "the cabinet lacks " + file.path;
      return false;
    }
    if (entries[found->second].size != file.size) {
      *problem = file.path + " is not the file the manifest lists";
      return false;
    }
    entries_.push_back(found->second);
    byName.erase(found);
  }
  if (!byName.empty()) {
    *problem = "the manifest does not list " + byName.begin()->first;
    return false;
  }
  manifest_ = std::move(*manifest);
  return true;
}

Extraction PackageReader::Extract(const std::string& folder, const std::vector<std::string>& places,
                                  std::string* problem)
{
  std::map<size_t, std::string> targets;
  for (size_t i = 0; i < entries_.size(); ++i)
    targets.emplace(entries_[i], places[i]);
  // The cabinet's entries were found of the manifest's sizes, and an entry is written to its
  // size and no further: no file grows beyond what the manifest declares.
  if (Extraction extracted = cabinet_.Extract(folder, targets, problem); extracted != Extraction::done)
    return extracted;
  for (size_t i = 0; i < manifest_.files.size(); ++i) {
    const PackageFile& file = manifest_.files[i];
    fs::path path = fs::path(folder) / places[i];
    std::optional<std::pair<uint64_t, std::string>> digest = FileDigest(path);
    if (!digest || digest->first != file.size || digest->second != file.sha256) {
      *problem = file.path + " is not the file the manifest lists";
      return Extraction::damaged;
    }
    std::error_code error;
    fs::permissions(path, file.program ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write,
                    error);
    if (error) {
      *problem = "cannot set the permissions of " + file.path + ": " + error.message();
      return Extraction::notWritten;
    }
  }
  return Extraction::done;
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
