#include "font_file.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace kv::fonts {
namespace {

// Micro Hei first: its Latin letters suit the mixed texts of the screens; Zen Hei otherwise.
constexpr const char* kKnownPaths[] = {
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
};
constexpr const char* kFamilies[] = {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei"};

std::string MatchFamily(const char* family)
{
  std::string found;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  if (!pattern)
    return found;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* matchedFamily = nullptr;
    FcChar8* file = nullptr;
    // fontconfig always answers with some font; only the asked family will do.
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
        std::strcmp(reinterpret_cast<const char*>(matchedFamily), family) == 0 &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
      found = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

std::string FindCjkFontFile()
{
  std::error_code ec;
  for (const char* path : kKnownPaths)
    if (std::filesystem::is_regular_file(path, ec))
      return path;
  if (!FcInit())
    return {};
  for (const char* family : kFamilies) {
    std::string path = MatchFamily(family);
    if (!path.empty())
      return path;
  }
  return {};
}

std::span<const unsigned char> MapFontFile(const std::string& path)
{
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return {};
  struct stat info{};
  void* mapped = MAP_FAILED;
  if (fstat(fd, &info) == 0 && info.st_size > 0)
    mapped = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (mapped == MAP_FAILED)
    return {};
  return {static_cast<const unsigned char*>(mapped), static_cast<size_t>(info.st_size)};
}

}  // namespace kv::fonts
