#include "dovrel_test_support.h"

#include <filesystem>

#include "base/errors.h"
#include "testing/device_programs.h"

#include "text/codepage.h"

namespace dovrel_test {

std::string Gbk(const char16_t* text)
{
  char bytes[256] = {};
  int size = WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return std::string(bytes, size > 0 ? static_cast<size_t>(size - 1) : 0);
}

std::string Utf8(std::u16string_view text)
{
  std::string bytes(text.size() * 3 + 1, '\0');
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                 static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
  return bytes;
}

void Install(const std::string& root, const char* built, const std::string& relative)
{
  std::filesystem::path target = std::filesystem::path(root) / relative;
  std::filesystem::create_directories(target.parent_path());
  std::filesystem::copy_file(built, target, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(target, std::filesystem::perms::owner_all);
}

services::ServiceEntry DovrelEntry()
{
  services::ServiceEntry entry;
  entry.name = u"Dovrel";
  entry.dll = std::u16string(kInstallFolder) + u"\\Dovrel.dll";
  entry.prefix = u"PAY";
  entry.instDir = kInstallFolder;
  return entry;
}

void ClientDevice::SetUp()
{
  Install(root_.path(), KV_FAKE_CLIENT, "Program Files/Korvex/KorvexPortal.exe");
  ASSERT_EQ(services::WriteServiceEntry(DovrelEntry()), ERROR_SUCCESS);
}

BrowserConnection::BrowserConnection()
{
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  SOCKADDR_IN address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(listen(listener, 1), 0);
  EXPECT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  browser_ = kvtest::ConnectLoopback(ntohs(address.sin_port), kGenerousWait / 1000);
  service_ = accept(listener, nullptr, nullptr);
  closesocket(listener);
  EXPECT_GE(browser_, 0);
  EXPECT_NE(service_, INVALID_SOCKET);
}

BrowserConnection::~BrowserConnection()
{
  if (service_ != INVALID_SOCKET) {
    closesocket(service_);
  }
  if (browser_ >= 0) {
    CloseBrowser(browser_);
  }
}

SOCKET BrowserConnection::Release()
{
  SOCKET s = service_;
  service_ = INVALID_SOCKET;
  return s;
}

std::string Exchange(USHORT port, const std::string& request)
{
  return kvtest::LoopbackExchange(port, request, kGenerousWait / 1000);
}

}  // namespace dovrel_test
