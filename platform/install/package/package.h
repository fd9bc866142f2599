// A package: a cabinet holding the manifest (manifest.h) and the files it lists, each under its
// path without the leading backslash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cabinet.h"
#include "manifest.h"

namespace install {

// The most a package's manifest and its files together may come to, in bytes: the installer
// refuses a package that declares more before it extracts anything.
inline constexpr uint64_t kManifestSizeLimit = uint64_t{1} << 20;
inline constexpr uint64_t kPackageSizeLimit = uint64_t{512} << 20;

// A package's files in memory, as the build step makes a package.
struct Package {
  PackageManifest manifest;
  std::vector<std::vector<uint8_t>> contents;  // of manifest.files, in their order
};

// A package's cabinet checked as it is read, without holding its files in memory.
class PackageReader {
 public:
  // Opens the cabinet at the host path and reads its manifest. False, with the reason in
  // *problem, unless the cabinet's table is whole, its manifest of at most kManifestSizeLimit
  // bytes is sound, the files it lists come to at most kPackageSizeLimit bytes, and the cabinet
  // holds exactly the manifest and those files, each of the size the manifest gives.
  bool Open(const std::string& hostPath, std::string* problem);

  const PackageManifest& Manifest() const { return manifest_; }

  // Extracts the manifest's files, the i-th at the host path places[i] relative to folder
  // (whose folders exist), a block at a time and each no larger than the manifest says, then
  // checks each against the manifest's size and digest and makes the programs runnable. What it
  // wrote stays, whatever the outcome: the caller's folder holds it.
  Extraction Extract(const std::string& folder, const std::vector<std::string>& places, std::string* problem);

 private:
  CabinetReader cabinet_;
  PackageManifest manifest_;
  std::vector<size_t> entries_;  // of the manifest's files, in the cabinet
};

// Writes the package's cabinet at the host path; the manifest's sizes and digests are those of
// the contents. False with the reason in *problem, also when its manifest is not sound.
bool WritePackage(const std::string& hostPath, const Package& package, std::string* problem);

// The SHA-256 digest of the bytes in lower-case hex.
std::string Sha256Hex(const std::vector<uint8_t>& bytes);

}  // namespace install
