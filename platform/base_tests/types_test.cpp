#include "base/types.h"

#include <gtest/gtest.h>

// The device's structures and protocols rely on these sizes.
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(UINT) == 4 && sizeof(BOOL) == 4);
static_assert(sizeof(HRESULT) == 4 && sizeof(WCHAR) == 2 && sizeof(WORD) == 2);
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*) && sizeof(LRESULT) == sizeof(void*));

TEST(BaseTypes, WordPackingMacros)
{
  LPARAM lp = MAKELPARAM(-5, 7);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(lp)), -5);
  EXPECT_EQ(HIWORD(lp), 7);
  EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
  EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
  EXPECT_TRUE(FAILED(E_FAIL));
  EXPECT_EQ(HRESULT_FROM_WIN32(5), E_ACCESSDENIED);
}
