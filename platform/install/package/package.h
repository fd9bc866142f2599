// A package: a cabinet holding the manifest (manifest.h) and the files it lists, each under its
// path without the leading backslash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "manifest.h"

namespace install {

struct Package {
  PackageManifest manifest;
  std::vector<std::vector<uint8_t>> contents;  // of manifest.files, in their order
};

// Reads a package from its cabinet's bytes. Nothing, with the reason in *problem, unless the
// cabinet is whole, its manifest sound, and it holds exactly the manifest and the files listed,
// each of the size and digest the manifest gives.
std::optional<Package> ReadPackage(const std::vector<uint8_t>& cabinet, std::string* problem);

// Writes the package's cabinet at the host path; the manifest's sizes and digests are those of
// the contents. False with the reason in *problem, also when ReadPackage would refuse it.
bool WritePackage(const std::string& hostPath, const Package& package, std::string* problem);

// The SHA-256 digest of the bytes in lower-case hex.
std::string Sha256Hex(const std::vector<uint8_t>& bytes);

}  // namespace install
