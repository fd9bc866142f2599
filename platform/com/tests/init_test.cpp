// Each thread counts its initialisations.
#include <gtest/gtest.h>

#include <thread>

#include "com/init.h"

namespace {

TEST(CoInitialize, CountsPerThreadAndKeepsTheModel)
{
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);  // not counted

  HRESULT other = E_FAIL;
  std::thread([&] {
    other = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoUninitialize();
  }).join();
  EXPECT_EQ(other, S_OK);  // another thread starts its own count

  CoUninitialize();
  CoUninitialize();
  CoUninitialize();  // one more than was counted: nothing happens
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);  // a fresh start may choose again
  CoUninitialize();

  int reserved = 0;
  EXPECT_EQ(CoInitializeEx(&reserved, COINIT_MULTITHREADED), E_INVALIDARG);
}

}  // namespace
