#include "base/lasterror.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/errors.h"

TEST(LastError, IsKeptPerThread)
{
  SetLastError(ERROR_FILE_NOT_FOUND);
  DWORD seenByOther = 99;
  std::thread other([&] {
    seenByOther = GetLastError();
    SetLastError(ERROR_ACCESS_DENIED);
  });
  other.join();
  EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
