#include "guard.h"
#include "guard_memory.h"

#include <string.h>

#include <algorithm>

#include "selvane/selvane.h"
#include "selvane_table.h"

namespace selvane_detail {

void WipeMemory(void* data, size_t bytes)
{
  if (data && bytes)
    explicit_bzero(data, bytes);
}

namespace {

struct Selection {
  size_t start;
  size_t end;
};

Selection SelectionOf(HWND edit)
{
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return Selection{start, end};
}

size_t LengthOf(HWND edit)
{
  return static_cast<size_t>(std::max(0, GetWindowTextLengthW(edit)));
}

}  // namespace

Guard::Guard(HWND edit) : edit_(edit)
{
  // One allocation for the guard's life: edits below never move the text in memory.
  secret_.reserve(SELVANE_MAX_INPUT + 1);
}

namespace {

struct FreedMemoryWatch {
  std::mutex lock;
  std::function<void(const std::u16string&)> watcher;
};

FreedMemoryWatch& freedMemoryWatch()
{
  static FreedMemoryWatch* watch = new FreedMemoryWatch;  // guards may go during exit
  return *watch;
}

}  // namespace

void WatchFreedGuardMemory(std::function<void(const std::u16string&)> watcher)
{
  std::lock_guard<std::mutex> held(freedMemoryWatch().lock);
  freedMemoryWatch().watcher = std::move(watcher);
}

Guard::~Guard()
{
  Wipe();
  {
    std::lock_guard<std::mutex> held(freedMemoryWatch().lock);
    if (freedMemoryWatch().watcher)
      freedMemoryWatch().watcher(Memory());
  }
  if (own_)
    FreeWindowProc(own_);
}

bool Guard::Attach()
{
  // The edit's present text becomes the guarded text, and the edit keeps only its mask.
  std::u16string present(LengthOf(edit_) + 1, u'\0');
  present.resize(static_cast<size_t>(GetWindowTextW(edit_, present.data(), static_cast<int>(present.size()))));
  own_ = MakeWindowProc([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Procedure(hwnd, message, wParam, lParam);
  });
  if (!own_) {
    WipeMemory(present.data(), present.size() * sizeof(char16_t));
    return false;
  }
  previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own_)));
  active_ = previous_ != nullptr;
  if (active_)
    SetText(WM_SETTEXT, 0, present.c_str());
  WipeMemory(present.data(), present.size() * sizeof(char16_t));
  return active_;
}

void Guard::Detach()
{
  Wipe();
  if (!active_)
    return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit_, GWLP_WNDPROC)) == own_ &&
      SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_)) != 0) {
    active_ = false;
  } else {
    // Something subclassed the edit after the guard, or the call came from another thread than
    // the edit's (which may not change its procedure): the guard stays in the chain, passing
    // everything on (the table keeps it alive for that).
    active_ = false;
    stillChained_ = true;
  }
  // Only the mask is left in the edit; it goes too.
  SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
}

size_t Guard::CopyTo(char16_t* buffer, size_t capacity) const
{
  std::lock_guard<std::mutex> held(textLock_);
  size_t count = std::min(secret_.size(), capacity);
  std::copy_n(secret_.data(), count, buffer);
  return count;
}

std::u16string Guard::Memory() const
{
  std::lock_guard<std::mutex> held(textLock_);
  return std::u16string(secret_.data(), secret_.capacity());
}

void Guard::Wipe()
{
  std::lock_guard<std::mutex> held(textLock_);
  WipeText();
}

void Guard::WipeText()
{
  WipeMemory(secret_.data(), secret_.capacity() * sizeof(char16_t));
  secret_.clear();
}

char16_t Guard::MaskCharacter() const
{
  // A digits-only edit refuses anything else, so its mask is a digit.
  return (GetWindowLongW(edit_, GWL_STYLE) & ES_NUMBER) ? u'0' : u'*';
}

LRESULT Guard::Forward(UINT message, WPARAM wParam, LPARAM lParam)
{
  return CallWindowProcW(previous_, edit_, message, wParam, lParam);
}

LRESULT Guard::Insert(UINT message, WPARAM wParam, std::u16string_view text)
{
  Selection selection = SelectionOf(edit_);
  size_t before = LengthOf(edit_);
  std::unique_lock<std::mutex> held(textLock_);
  size_t kept = secret_.size() - std::min(secret_.size(), selection.end - selection.start);
  size_t room = SELVANE_MAX_INPUT - std::min<size_t>(SELVANE_MAX_INPUT, kept);
  text = text.substr(0, std::min(text.size(), room));
  if (text.empty() && message == WM_CHAR)
    return 0;
  held.unlock();
  std::u16string mask(text.size(), MaskCharacter());
  LRESULT result = message == WM_CHAR ? Forward(WM_CHAR, mask[0], 0)
                                      : Forward(message, wParam, reinterpret_cast<LPARAM>(mask.c_str()));
  if (!IsWindow(edit_) || !active_)
    return result;
  size_t after = LengthOf(edit_);
  size_t removed = selection.end - selection.start;
  held.lock();
  if (after + removed >= before && after + removed - before <= text.size() && before == secret_.size()) {
    secret_.replace(selection.start, removed, text.substr(0, after + removed - before));
  } else if (after != secret_.size()) {
    held.unlock();
    SetText(WM_SETTEXT, 0, u"");  // out of step with the edit: start again from nothing
  }
  return result;
}

LRESULT Guard::SetText(UINT message, WPARAM wParam, LPCWSTR text)
{
  std::u16string_view given = text ? std::u16string_view(text) : std::u16string_view();
  size_t length = 0;
  {
    std::lock_guard<std::mutex> held(textLock_);
    WipeText();
    secret_.assign(given.substr(0, std::min<size_t>(given.size(), SELVANE_MAX_INPUT)));
    length = secret_.size();
  }
  std::u16string mask(length, MaskCharacter());
  return Forward(message, wParam, reinterpret_cast<LPARAM>(mask.c_str()));
}

LRESULT Guard::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  std::shared_ptr<Guard> keep = weak_from_this().lock();
  if (!active_) {
    LRESULT result = CallWindowProcW(previous_, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
      ForgetGuard(hwnd);
    return result;
  }
  switch (message) {
  case WM_CHAR: {
    char16_t character = static_cast<char16_t>(wParam);
    if (character >= 0x20 && character != 0x7F)
      return Insert(WM_CHAR, 0, std::u16string_view(&character, 1));
    if (character != VK_BACK)
      return Forward(message, wParam, lParam);
    [[fallthrough]];
  }
  case WM_KEYDOWN: {
    if (message == WM_KEYDOWN && wParam != VK_DELETE)
      return Forward(message, wParam, lParam);
    Selection selection = SelectionOf(edit_);
    size_t before = LengthOf(edit_);
    LRESULT result = Forward(message, wParam, lParam);
    if (!IsWindow(edit_) || !active_)
      return result;
    size_t after = LengthOf(edit_);
    std::lock_guard<std::mutex> held(textLock_);
    if (before == secret_.size() && after < before) {
      size_t count = before - after;
      size_t start = selection.start != selection.end ? selection.start
                     : message == WM_CHAR                  ? selection.start - std::min(selection.start, count)
                                                           : selection.start;
      secret_.erase(start, count);
    }
    return result;
  }
  case WM_SETTEXT:
    return SetText(message, wParam, reinterpret_cast<LPCWSTR>(lParam));
  case EM_REPLACESEL: {
    auto* text = reinterpret_cast<LPCWSTR>(lParam);
    return Insert(message, wParam, text ? std::u16string_view(text) : std::u16string_view());
  }
  case WM_NCDESTROY: {
    Wipe();
    LRESULT result = Forward(message, wParam, lParam);
    ForgetGuard(hwnd);  // drops the table's hold; `keep` holds the guard to the end of this call
    return result;
  }
  default:
    return Forward(message, wParam, lParam);
  }
}

}  // namespace selvane_detail
