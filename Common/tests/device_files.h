// Reading and writing whole files of a test's own device root, through the device's streams.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/types.h"
#include "kernel/file_system.h"
#include "kernel/wide_stdio.h"
#include "testing/device_root.h"

namespace common_test {

// The file's bytes; empty when it cannot be opened.
inline std::string ReadDeviceFile(const WCHAR* path)
{
  std::string bytes;
  if (FILE* file = _wfopen(path, u"rb")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
      bytes.append(buffer, got);
    }
    fclose(file);
  }
  return bytes;
}

inline void WriteDeviceFile(const WCHAR* path, const std::string& bytes)
{
  FILE* file = _wfopen(path, u"wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
  fclose(file);
}

inline bool DeviceFileExists(const WCHAR* path)
{
  return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// A fresh device root for each test.
class DeviceRootTest : public ::testing::Test {
 protected:
  device::testing::ScopedDeviceRoot root_;
};

}  // namespace common_test
