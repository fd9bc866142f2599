// Helpers for the tests of the device's files: a fresh device root and host-side access to it.
#pragma once

#include "testing/device_root.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class DeviceFilesTest : public ::testing::Test {
 protected:
  // The host path of a path relative to the root ("Temp/a.txt").
  std::filesystem::path Host(const std::string& relative) const { return std::filesystem::path(root_.path()) / relative; }

  void WriteHost(const std::string& relative, const std::string& content) const
  {
    std::filesystem::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary) << content;
  }

  // Copies a program or library of the build into the root.
  void Install(const char* built, const std::string& relative) const
  {
    std::filesystem::create_directories(Host(relative).parent_path());
    std::filesystem::copy_file(built, Host(relative), std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(Host(relative), std::filesystem::perms::owner_all);
  }

  std::string ReadHost(const std::string& relative) const
  {
    std::ifstream in(Host(relative), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  device::testing::ScopedDeviceRoot root_;
};
