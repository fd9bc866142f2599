// The system cursors: set and swapped back as a program shows it is busy.
#include <gtest/gtest.h>

#include "internal/user/cursor_link.h"
#include "windows.h"

namespace {

TEST(Cursor, SetCursorAnswersThePreviousOneAndTheDisplaySeesTheCurrent)
{
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  ASSERT_NE(wait, nullptr);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), wait);  // shared

  HCURSOR before = SetCursor(wait);
  EXPECT_EQ(user_cursor::Current(), user_cursor::Shape::wait);
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(SetCursor(before), wait);
  EXPECT_EQ(GetCursor(), before);
  EXPECT_EQ(SetCursor(arrow), before);
  EXPECT_EQ(user_cursor::Current(), user_cursor::Shape::arrow);
  EXPECT_EQ(SetCursor(nullptr), arrow);
  EXPECT_EQ(user_cursor::Current(), user_cursor::Shape::none);
}

TEST(Cursor, OnlyTheSystemCursorsExist)
{
  EXPECT_EQ(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32513))), nullptr);  // text beam
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadCursorW(reinterpret_cast<HINSTANCE>(1), IDC_WAIT), nullptr);
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  SetCursor(wait);
  EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x1234)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetCursor(), wait);  // unchanged
  SetCursor(nullptr);
}

}  // namespace
