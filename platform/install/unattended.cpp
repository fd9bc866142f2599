#include "unattended.h"

#include <atomic>
#include <cstdio>
#include <string>

#include "controls/button.h"
#include "internal/msgbox/message_box_hooks.h"
#include "internal/user/dialog_resources.h"
#include "kernel/device_root.h"
#include "user/user.h"

namespace install {
namespace {

using BoxAnswer = device::DeviceSettings::BoxAnswer;

// How often the thread looks for a dialog to answer while a hook runs one.
constexpr UINT kLookEveryMs = 50;

std::atomic<BoxAnswer> answer{BoxAnswer::yes};
std::atomic<HWND> lastAnswered{nullptr};

std::u16string TextOf(HWND window)
{
  WCHAR text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

void AnswerActiveDialog(HWND, UINT, UINT_PTR, DWORD)
{
  HWND dialog = GetActiveWindow();
  WCHAR className[32] = {};
  if (!dialog || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog) ||
      !GetClassNameW(dialog, className, 32) || std::u16string_view(className) != WC_DIALOG)
    return;
  int id = IDCANCEL;
  if (answer != BoxAnswer::no) {
    LRESULT defaultButton = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    id = HIWORD(defaultButton) == DC_HASDEFID ? LOWORD(defaultButton) : IDOK;
  }
  if (lastAnswered.exchange(dialog) != dialog) {
    // A dialog is named by its template's id (a setup dialog often has no title), or by its
    // title when it was not made from a numbered template; the answer by its button's text.
    WORD templateId = user_dialog::DialogTemplateId(dialog);
    std::string name = templateId != 0 ? std::to_string(templateId)
                                       : "\"" + device::ToHost(TextOf(dialog)).value_or("?") + "\"";
    HWND button = GetDlgItem(dialog, id);
    std::string answered = button ? " \"" + device::ToHost(TextOf(button)).value_or("?") + "\"" : "";
    std::fprintf(stderr, "dialog %s: -> %d%s (unattended)\n", name.c_str(), id, answered.c_str());
    std::fflush(stderr);
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

bool DeviceIsUnattended()
{
  return device::Settings().messageBoxAnswer != BoxAnswer::shown;
}

UnattendedRun::UnattendedRun()
{
  BoxAnswer device = device::Settings().messageBoxAnswer;
  answer = device == BoxAnswer::shown ? BoxAnswer::yes : device;
  msgbox::SetUnattended(answer);
  timer_ = SetTimer(nullptr, 0, kLookEveryMs, AnswerActiveDialog);
}

UnattendedRun::~UnattendedRun()
{
  KillTimer(nullptr, timer_);
  msgbox::SetUnattended(BoxAnswer::shown);
}

}  // namespace install
