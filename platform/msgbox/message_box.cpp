// MessageBoxW: answered by a test's answerer, by an unattended program's answer or the device's
// unattended setting, by the log of a program without a screen, or by the user in the dialog.
#include "msgbox/message_box.h"

#include <cstdio>
#include <mutex>

#include "base/errors.h"
#include "base/lasterror.h"
#include "box_buttons.h"
#include "box_dialog.h"
#include "internal/msgbox/message_box_hooks.h"
#include "kernel/device_root.h"
#include "kernel/device_settings.h"

namespace msgbox {
namespace {

struct Answering {
  std::mutex mutex;
  Answerer answerer;
  bool screenless = false;
  device::DeviceSettings::BoxAnswer unattended = device::DeviceSettings::BoxAnswer::shown;
};

Answering& State()
{
  static Answering* state = new Answering;  // boxes may be answered while the program ends
  return *state;
}

// One line on standard error: the caption, the text (its line breaks as blanks) and the answer.
void Log(const Request& request, int answer, const char* why)
{
  std::u16string text = request.text;
  for (char16_t& c : text)
    if (c == u'\r' || c == u'\n')
      c = u' ';
  std::string caption = device::ToHost(request.caption).value_or("?");
  std::string body = device::ToHost(text).value_or("?");
  std::fprintf(stderr, "message box \"%s\": %s -> %s (%s)\n", caption.c_str(), body.c_str(), AnswerName(answer), why);
  std::fflush(stderr);
}

}  // namespace

void SetAnswerer(Answerer answerer)
{
  std::lock_guard lock(State().mutex);
  State().answerer = std::move(answerer);
}

void SetScreenless()
{
  std::lock_guard lock(State().mutex);
  State().screenless = true;
}

void SetUnattended(device::DeviceSettings::BoxAnswer answer)
{
  std::lock_guard lock(State().mutex);
  State().unattended = answer;
}

}  // namespace msgbox

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
  using namespace msgbox;
  if (!IsValidType(uType)) {
    SetLastError(ERROR_INVALID_MSGBOX_STYLE);
    return 0;
  }
  Request request{hWnd, lpText ? lpText : u"", lpCaption ? lpCaption : u"错误", uType};
  Answerer answerer;
  bool screenless;
  device::DeviceSettings::BoxAnswer unattended;
  {
    std::lock_guard lock(State().mutex);
    answerer = State().answerer;
    screenless = State().screenless;
    unattended = State().unattended;
  }
  if (answerer)
    return answerer(request);
  if (unattended == device::DeviceSettings::BoxAnswer::shown)
    unattended = device::Settings().messageBoxAnswer;
  if (unattended != device::DeviceSettings::BoxAnswer::shown) {
    int answer = UnattendedAnswer(uType, unattended);
    Log(request, answer, "unattended");
    return answer;
  }
  if (screenless) {
    int answer = DefaultAnswer(uType);
    Log(request, answer, "no screen");
    return answer;
  }
  return ShowBoxDialog(request);
}
