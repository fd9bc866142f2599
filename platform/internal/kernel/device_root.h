// The device root: the host folder that stands for the device's file system, and the map from
// device paths ("\Temp\x.log") to host paths inside it. For the pieces of the layer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace device {

// The folder of the layer's own state at the top of the root; no device path reaches it, and
// listings of the root leave it out.
inline constexpr char16_t kPrivateFolderName[] = u".kernel";

// The root folder: KORVEX_DEVICE_ROOT, by default ~/.local/share/korvex-device (under
// XDG_DATA_HOME when that is set). Created owner-only (0700) on first use. Read anew on every
// call, so a test that names its own root before using the device gets it.
std::string RootPath();
// The root folder named now, as RootPath finds it, without creating it or using the device.
std::string ConfiguredRoot();

// A folder of the layer's own state inside the root (named objects, the process list), created
// owner-only on demand. It is hidden from the device's file system: no device path reaches it.
std::string PrivateFolder(std::string_view name);

struct MappedPath {
  std::string host;           // where the device path lies on the host
  bool exists = false;        // the entry exists (of any case)
  bool parentExists = false;  // every folder above it exists
};

// Maps a device path into the root. Paths are taken from the root ("\a\b" and "a\b" are the
// same); existing entries are found whatever their case, a missing part keeps the case given.
// Refuses, with the last error set, what is not a plain path inside the root: "." and ".."
// parts, forward slashes, drive letters, characters the device forbids in names
// (ERROR_INVALID_NAME), and symbolic links or the layer's private folder (ERROR_ACCESS_DENIED).
std::optional<MappedPath> MapPath(std::u16string_view devicePath);

// MapPath for a path that must exist: fails with ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND
// when a folder above it is missing. A null path fails with ERROR_INVALID_PARAMETER.
std::optional<MappedPath> MapExistingPath(const char16_t* devicePath);

// The device path of an existing host path inside the root ("\Program Files\x.exe"), or
// nothing when it lies outside.
std::optional<std::u16string> DevicePathOf(const std::string& hostPath);

// UTF-16 device text and UTF-8 host text. ToHost fails on unpaired surrogates, FromHost on
// bytes that are not UTF-8.
std::optional<std::string> ToHost(std::u16string_view text);
std::optional<std::u16string> FromHost(std::string_view text);

// Whether two device names are equal, ignoring case as the device's file system does.
bool SameName(std::u16string_view a, std::u16string_view b);

}  // namespace device
