// Message files of any content: reading never fails unsafely, and a message read from a file is
// written and read back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kernel/file_system.h"
#include "kernel/wide_stdio.h"
#include "message_file.h"
#include "message_store.h"
#include "testing/device_root.h"

namespace {

constexpr const WCHAR* kLogonId = u"fuzz";

bool Same(const MsgRecord& a, const MsgRecord& b)
{
  return a.msgId == b.msgId && a.topic == b.topic && a.content == b.content && a.sender == b.sender &&
         a.type == b.type && a.date == b.date;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static device::testing::ScopedDeviceRoot root;
  // The folders come with the first message saved.
  static int made = SaveMessageFile(kLogonId, 1, u"{}");
  if (made != 0) {
    abort();
  }
  if (FILE* file = _wfopen(u"\\Temp\\KorvexPortal\\fuzz\\MsgList\\Readed\\1", u"wb")) {
    fwrite(data, 1, size, file);
    fclose(file);
  } else {
    abort();
  }

  CStringW text;
  LoadPrevMessage(kLogonId, 0, text);
  MsgRecord first;
  if (!ParseMessageFile(text, first)) {
    return 0;
  }
  if (SaveMessageFile(kLogonId, 2, FormatMessageFile(first)) != 0) {
    abort();
  }
  LoadNextMessage(kLogonId, 1, text);
  MsgRecord second;
  if (!ParseMessageFile(text, second) || !Same(first, second)) {
    abort();
  }
  DeleteMessageFile(kLogonId, 2);
  return 0;
}
