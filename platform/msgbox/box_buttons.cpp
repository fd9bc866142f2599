#include "box_buttons.h"

#include <algorithm>

#include "internal/msgbox/message_box_hooks.h"
#include "msgbox/message_box.h"
#include "user/dialog.h"

namespace msgbox {
namespace {

constexpr Button kOk{IDOK, u"确定"};
constexpr Button kCancel{IDCANCEL, u"取消"};
constexpr Button kAbort{IDABORT, u"中止"};
constexpr Button kRetry{IDRETRY, u"重试"};
constexpr Button kIgnore{IDIGNORE, u"忽略"};
constexpr Button kYes{IDYES, u"是"};
constexpr Button kNo{IDNO, u"否"};

bool Has(const std::vector<Button>& buttons, int id)
{
  return std::any_of(buttons.begin(), buttons.end(), [&](const Button& button) { return button.id == id; });
}

// The first of the ids that the box has; 0 when it has none.
int FirstOf(const std::vector<Button>& buttons, std::initializer_list<int> ids)
{
  for (int id : ids)
    if (Has(buttons, id))
      return id;
  return 0;
}

}  // namespace

bool IsValidType(UINT type)
{
  return (type & MB_TYPEMASK) <= MB_RETRYCANCEL && (type & MB_ICONMASK) <= MB_ICONASTERISK;
}

std::vector<Button> ButtonsOf(UINT type)
{
  switch (type & MB_TYPEMASK) {
  case MB_OK: return {kOk};
  case MB_OKCANCEL: return {kOk, kCancel};
  case MB_ABORTRETRYIGNORE: return {kAbort, kRetry, kIgnore};
  case MB_YESNOCANCEL: return {kYes, kNo, kCancel};
  case MB_YESNO: return {kYes, kNo};
  case MB_RETRYCANCEL: return {kRetry, kCancel};
  default: return {};
  }
}

int DefaultAnswer(UINT type)
{
  std::vector<Button> buttons = ButtonsOf(type);
  if (buttons.empty())
    return 0;
  size_t index = (type & MB_DEFMASK) >> 8;
  return buttons[index < buttons.size() ? index : 0].id;
}

int CloseAnswer(UINT type)
{
  std::vector<Button> buttons = ButtonsOf(type);
  if (Has(buttons, IDCANCEL))
    return IDCANCEL;
  return buttons.size() == 1 ? buttons[0].id : 0;
}

int UnattendedAnswer(UINT type, device::DeviceSettings::BoxAnswer answer)
{
  std::vector<Button> buttons = ButtonsOf(type);
  int chosen = 0;
  if (answer == device::DeviceSettings::BoxAnswer::yes)
    chosen = FirstOf(buttons, {IDYES, IDOK, IDRETRY});
  else if (answer == device::DeviceSettings::BoxAnswer::no)
    chosen = FirstOf(buttons, {IDNO, IDCANCEL, IDABORT});
  return chosen ? chosen : DefaultAnswer(type);
}

const char* AnswerName(int id)
{
  switch (id) {
  case IDOK: return "IDOK";
  case IDCANCEL: return "IDCANCEL";
  case IDABORT: return "IDABORT";
  case IDRETRY: return "IDRETRY";
  case IDIGNORE: return "IDIGNORE";
  case IDYES: return "IDYES";
  case IDNO: return "IDNO";
  default: return "0";
  }
}

}  // namespace msgbox
