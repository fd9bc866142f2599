#include "font_file.h"

#include <fontconfig/fontconfig.h>

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

}  // namespace kv::fonts
