// Fuzzes the reader with any text, then the writers with whatever it built. Input bytes are
// taken one unit each, or as UTF-16LE units after a FF FE mark, so seeds stay readable while
// every code unit remains reachable.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "json/reader.h"
#include "json/writer.h"

namespace {

std::u16string unitsOf(const uint8_t* data, size_t size)
{
  std::u16string text;
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    for (size_t i = 2; i + 1 < size; i += 2) {
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
  } else {
    text.assign(data, data + size);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::u16string text = unitsOf(data, size);
  for (bool collectComments : {false, true}) {
    Json::Reader reader;
    Json::Value root;
    bool ok = reader.parse(text.data(), text.data() + text.size(), root, collectComments);
    std::u16string errors = reader.formatErrors();
    if (ok != errors.empty()) {
      std::abort();
    }
    Json::FastWriter fast;
    std::u16string written = fast.write(root);
    root.toStyledString();
    if (ok && written.find(u"inf") == std::u16string::npos && written.find(u"nan") == std::u16string::npos) {
      // What the writer makes of a parsed value reads back.
      Json::Value again;
      if (!reader.parse(written, again, false)) {
        std::abort();
      }
    }
  }
  return 0;
}
