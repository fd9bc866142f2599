#include "kernel/version.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/modules.h"

#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace device {
namespace {

// The block as the device lays it out: a header, the key "VS_VERSION_INFO", padding to a
// 32-bit boundary, then the fixed file information.
struct VersionBlock {
  WORD wLength;
  WORD wValueLength;
  WORD wType;
  WCHAR szKey[16];
  WORD padding;
  VS_FIXEDFILEINFO value;
};
static_assert(sizeof(VersionBlock) == 92 && offsetof(VersionBlock, value) == 40);

constexpr uint32_t kMagic = 0x5646564Bu;  // "KVFV", as written by kv_file_version

bool ReadAt(int fd, void* buffer, size_t size, uint64_t offset)
{
  return pread(fd, buffer, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

// The four words of the .kv_version section of an ELF file, if it has one.
bool ReadVersionSection(const std::string& hostPath, uint32_t words[4])
{
  int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  bool found = false;
  Elf64_Ehdr header{};
  if (ReadAt(fd, &header, sizeof header, 0) && memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
      header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_shentsize == sizeof(Elf64_Shdr) && header.e_shstrndx < header.e_shnum) {
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    Elf64_Shdr& names = sections[header.e_shstrndx];
    std::vector<char> nameTable;
    if (ReadAt(fd, sections.data(), sections.size() * sizeof(Elf64_Shdr), header.e_shoff) && names.sh_size < (1u << 24)) {
      nameTable.resize(names.sh_size + 1);
      if (!ReadAt(fd, nameTable.data(), names.sh_size, names.sh_offset)) {
        nameTable.clear();
      }
    }
    for (const Elf64_Shdr& section : sections) {
      if (!nameTable.empty() && section.sh_name < names.sh_size && strcmp(&nameTable[section.sh_name], ".kv_version") == 0 &&
          section.sh_size >= 4 * sizeof(uint32_t) && ReadAt(fd, words, 4 * sizeof(uint32_t), section.sh_offset)) {
        found = words[0] == kMagic;
        break;
      }
    }
  }
  close(fd);
  return found;
}

// The host file behind a device path. The running program is found at its device path even
// when it lies outside the device root (a test).
std::optional<std::string> HostFile(LPCWSTR devicePath)
{
  if (devicePath && SameName(devicePath, ProgramPath())) {
    std::optional<MappedPath> mapped = MapPath(devicePath);
    return mapped && mapped->exists ? mapped->host : ProgramHostPath();
  }
  std::optional<MappedPath> mapped = MapExistingPath(devicePath);
  return mapped ? std::optional(mapped->host) : std::nullopt;
}

std::optional<VersionBlock> ReadBlock(LPCWSTR devicePath)
{
  std::optional<std::string> host = HostFile(devicePath);
  if (!host) {
    return std::nullopt;
  }
  uint32_t words[4];
  if (!ReadVersionSection(*host, words)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return std::nullopt;
  }
  VersionBlock block{};
  block.wLength = sizeof block;
  block.wValueLength = sizeof(VS_FIXEDFILEINFO);
  std::u16string_view key = u"VS_VERSION_INFO";
  std::copy(key.begin(), key.end(), block.szKey);
  block.value.dwSignature = VS_FFI_SIGNATURE;
  block.value.dwStrucVersion = VS_FFI_STRUCVERSION;
  block.value.dwFileVersionMS = block.value.dwProductVersionMS = words[1];
  block.value.dwFileVersionLS = block.value.dwProductVersionLS = words[2];
  block.value.dwFileFlagsMask = 0x3F;
  block.value.dwFileOS = VOS_WINCE;
  block.value.dwFileType = words[3];
  return block;
}

}  // namespace
}  // namespace device

DWORD GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, LPDWORD lpdwHandle)
{
  if (lpdwHandle) {
    *lpdwHandle = 0;
  }
  return device::ReadBlock(lptstrFilename) ? sizeof(device::VersionBlock) : 0;
}

BOOL GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD, DWORD dwLen, LPVOID lpData)
{
  if (!lpData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<device::VersionBlock> block = device::ReadBlock(lptstrFilename);
  if (!block) {
    return FALSE;
  }
  if (dwLen < sizeof *block) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memcpy(lpData, &*block, sizeof *block);
  return TRUE;
}

BOOL VerQueryValueW(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen)
{
  auto* block = static_cast<const device::VersionBlock*>(pBlock);
  if (!block || !lpSubBlock || !lplpBuffer || std::u16string_view(lpSubBlock) != u"\\" ||
      block->value.dwSignature != VS_FFI_SIGNATURE) {
    return FALSE;
  }
  *lplpBuffer = const_cast<VS_FIXEDFILEINFO*>(&block->value);
  if (puLen) {
    *puLen = sizeof(VS_FIXEDFILEINFO);
  }
  return TRUE;
}
