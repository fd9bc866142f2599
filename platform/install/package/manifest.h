// The manifest of a package: what the package installs and where, as UTF-8 text that people
// can read. It lies in the package's cabinet as kManifestName. The same text, with the host
// files to take in place of their sizes and digests, describes a package to the build step
// that makes it (a package description).
//
//   # lines starting with "#" are comments; blank lines are skipped
//   [package]                                  once, first
//   format = 1
//   name = FakeApp                             the name it is installed and removed by
//   folder = \Program Files\FakeApp            its installation folder, told to the setup hooks
//   setup = \Program Files\FakeApp\Setup.dll   optional: one of its files, the setup library
//
//   [file]                                     one a file, in the order they are installed
//   path = \Program Files\FakeApp\FakeApp.exe  where it is installed
//   size = 8120                                manifest: its size in bytes (all files together
//                                              at most kPackageSizeLimit, package.h),
//   sha256 = 3f1c...                           its SHA-256 digest in lower-case hex,
//   program = yes                              and whether it is a program or library (runnable)
//   source = /build/fake_app                   description: the host file, or a folder whose
//                                              files are installed below path
//
//   [service]                                  a service's registry entry (services/services.h)
//   key = Dovrel                               its key under HKEY_LOCAL_MACHINE\Services
//   library = \Program Files\FakeApp\Svc.dll   "Dll"
//   prefix = PAY                               "Prefix"
//   index = 0                                  "Index"   (optional, 0)
//   context = 0                                "Context" (optional, 0)
//   keep = 1                                   "Keep"    (optional, 1)
//   folder = \Program Files\FakeApp            "InstDir" (optional, the package's folder)
//   port = 8090                                "Port"    (optional, none)
//
//   [value]                                    a registry value
//   key = HKEY_LOCAL_MACHINE\Software\FakeApp  its key, from the hive
//   name = Version                             its name (no backslash)
//   sz = 1.0                                   a text, or: dword = 10
//
// What a manifest declares keeps to the package's own place, or the installer refuses the
// package (platform/install/package_place.h): its files lie below its folder, a folder that is
// not \Windows nor another installed package's; no value lies in
// HKEY_LOCAL_MACHINE\Software\Packages (the installer's records), and no service, key or value
// is one that another installed package's record holds. These rules bound what the manifest
// declares, not what the setup library's hooks do: they are native code the installer calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace install {

inline constexpr char kManifestName[] = "_manifest.ini";

struct PackageFile {
  std::string path;
  std::string source;  // description only
  uint64_t size = 0;
  std::string sha256;
  bool program = false;
};

struct PackageService {
  std::string key;
  std::string library;
  std::string prefix;
  uint32_t index = 0;
  uint32_t context = 0;
  uint32_t keep = 1;
  std::string folder;  // empty: the package's folder
  uint16_t port = 0;   // 0: none
};

struct PackageValue {
  std::string key;
  std::string name;
  bool isNumber = false;
  std::string text;     // sz
  uint32_t number = 0;  // dword
};

struct PackageManifest {
  std::string name;
  std::string folder;
  std::string setup;  // empty: none
  std::vector<PackageFile> files;
  std::vector<PackageService> services;
  std::vector<PackageValue> values;
};

enum class ManifestKind {
  manifest,     // files have size, sha256 and program
  description,  // files have source
};

// Parses the text; nothing, with the first problem ("line 7: ...") in *problem, when it is not
// a sound manifest of that kind: unknown sections or keys, a key given twice or missing, a bad
// number, a path that does not start with a backslash, a name with a backslash, two files of
// one path (case ignored), a setup library that is not one of the files.
std::optional<PackageManifest> ParseManifest(std::string_view text, ManifestKind kind, std::string* problem);

// The manifest's text (files with their sizes and digests), which ParseManifest reads back.
std::string WriteManifest(const PackageManifest& manifest);

// The name of a file in the package's cabinet: its path without the leading backslash.
std::string CabinetName(const PackageFile& file);

}  // namespace install
