// The window tree: as text for a test to read, and torn down at the end of a test.
#include <cstdio>

#include "internal/user/test_hooks.h"
#include "testing/ui_harness.h"

namespace kvtest {
namespace {

constexpr char16_t kInvokerClass[] = u"KvTestInvoker";

std::u16string ClassOf(HWND hwnd)
{
  WCHAR name[256];
  int length = GetClassNameW(hwnd, name, 256);
  return std::u16string(name, static_cast<size_t>(length));
}

void DumpWindow(HWND hwnd, int depth, std::string& out)
{
  std::u16string cls = ClassOf(hwnd);
  if (cls == kInvokerClass)
    return;
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  char line[160];
  std::snprintf(line, sizeof line, " id=%d [%ld,%ld %ld,%ld]", GetDlgCtrlID(hwnd), static_cast<long>(rect.left),
                static_cast<long>(rect.top), static_cast<long>(rect.right), static_cast<long>(rect.bottom));
  out += std::string(static_cast<size_t>(depth) * 2, ' ') + Narrow(cls) + " \"" + Narrow(user_test::WindowText(hwnd)) + "\"" + line;
  if (IsWindowVisible(hwnd))
    out += " visible";
  if (!IsWindowEnabled(hwnd))
    out += " disabled";
  if (user_test::IsFocusOfItsThread(hwnd))
    out += " focus";
  if (user_test::IsActiveOfItsThread(hwnd))
    out += " active";
  out += "\n";
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    DumpWindow(child, depth + 1, out);
}

}  // namespace

void DestroyThreadWindows()
{
  for (;;) {
    HWND mine = nullptr;
    for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top && !mine; top = GetWindow(top, GW_HWNDNEXT))
      if (user_test::IsOwnedByCallingThread(top) && ClassOf(top) != kInvokerClass)
        mine = top;
    if (!mine || !DestroyWindow(mine))
      return;
  }
}

std::string DumpWindowTree(HWND root)
{
  std::string out;
  if (root) {
    DumpWindow(root, 0, out);
    return out;
  }
  for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top; top = GetWindow(top, GW_HWNDNEXT))
    DumpWindow(top, 0, out);
  return out;
}

}  // namespace kvtest
