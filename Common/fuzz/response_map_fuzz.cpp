// Replies of any content read into a response map: the parse never fails unsafely, a failed
// parse leaves no entry behind, and a good one keeps what GetValue finds. The input's bytes are
// taken as UTF-16 units, two at a time, as the wide reply text arrives.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "JSonHelper.h"
#include "testing/device_root.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static device::testing::ScopedDeviceRoot root;  // the log of a refused value goes here
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  text.resize(std::char_traits<char16_t>::length(text.c_str()));

  CResponseMap map;
  int result = map.Parse(text.c_str());
  if (result == 0 && !map.IsEmpty()) {
    abort();
  }
  JsonParserValue value;
  if (map.GetValue(u"resultStatus", value) && (value.type < 5 || value.type > 10)) {
    abort();
  }
  return 0;
}
