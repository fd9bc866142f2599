// The system cursors and the one the device shows, process-wide.
#include "user/cursor.h"

#include <atomic>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/user/cursor_link.h"

namespace {

// The system cursors' handles are their resource ids: fixed, shared values.
constexpr ULONG_PTR kArrow = 32512;
constexpr ULONG_PTR kWait = 32514;

std::atomic<ULONG_PTR> current{0};

bool IsSystemCursor(ULONG_PTR value) { return value == kArrow || value == kWait; }

}  // namespace

HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName)
{
  auto id = reinterpret_cast<ULONG_PTR>(lpCursorName);
  if (hInstance || !IsSystemCursor(id)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HCURSOR>(id);
}

HCURSOR SetCursor(HCURSOR hCursor)
{
  auto value = reinterpret_cast<ULONG_PTR>(hCursor);
  if (value != 0 && !IsSystemCursor(value)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return reinterpret_cast<HCURSOR>(current.exchange(value));
}

HCURSOR GetCursor() { return reinterpret_cast<HCURSOR>(current.load()); }

user_cursor::Shape user_cursor::Current()
{
  ULONG_PTR value = current.load();
  return value == kWait ? Shape::wait : value == kArrow ? Shape::arrow : Shape::none;
}
