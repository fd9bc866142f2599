#include "zunsetup_test_support.h"

#include <fstream>
#include <iterator>

#include "kernel/device_root.h"
#include "testing/ui_harness.h"

namespace zunsetup_test {

fs::path Host(const std::string& relative)
{
  return fs::path(device::RootPath()) / fs::u8path(relative);
}

std::string Read(const std::string& relative)
{
  std::ifstream in(Host(relative), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const std::string& relative, const std::string& content)
{
  fs::create_directories(Host(relative).parent_path());
  std::ofstream(Host(relative), std::ios::binary) << content;
}

std::map<std::string, std::string> DeviceState()
{
  std::map<std::string, std::string> state;
  fs::path root = device::RootPath();
  for (auto entry = fs::recursive_directory_iterator(root); entry != fs::recursive_directory_iterator(); ++entry) {
    std::string relative = fs::relative(entry->path(), root).generic_string();
    if (relative == ".kernel") {
      entry.disable_recursion_pending();
      continue;
    }
    if (relative != "Temp/FakeClient.log")
      state[relative] = entry->is_directory() ? "<folder>" : Read(relative);
  }
  state["<registry>"] = Read(".kernel/registry/registry.dat");
  return state;
}

FakeClient::~FakeClient()
{
  if (process_) {
    TerminateProcess(process_, 9);
    WaitForSingleObject(process_, kGenerousWait);
    CloseHandle(process_);
  }
}

bool FakeClient::Start(const char16_t* window, const char16_t* answer)
{
  std::u16string line = std::u16string(window) + u" " + answer;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(u"\\Program Files\\KorvexPortal\\KorvexPortal.exe", line.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, nullptr, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  std::u16string title = std::u16string(window) == u"login" ? u"用户登录"
                         : std::u16string(window) == u"main" ? u"KorvexPortal"
                                                             : u"订单支付";
  return kvtest::WaitForTopLevelWindow(nullptr, title.c_str()) != nullptr;
}

bool FakeClient::Ended(DWORD ms) const
{
  return WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

void SetupTest::SetUp()
{
  fs::create_directories(Host("Temp/Setup"));
  fs::copy_file(KV_ZUNSETUP_LIBRARY, Host("Temp/Setup/ZunSetup.dll"));
  fs::copy(KV_ZUNSETUP_RESOURCES, Host("Temp/Setup/ZunSetupRes.dll"), fs::copy_options::recursive);
  fs::create_directories(Host("Program Files/KorvexPortal"));
  fs::copy_file(KV_FAKE_CLIENT, Host("Program Files/KorvexPortal/KorvexPortal.exe"));
  fs::permissions(Host("Program Files/KorvexPortal/KorvexPortal.exe"), fs::perms::owner_all);
  fs::create_directories(Host("Windows/Start Menu/Programs"));

  library_ = LoadLibraryW(u"\\Temp\\Setup\\ZunSetup.dll");
  ASSERT_NE(library_, nullptr) << GetLastError();
  hooks_.installInit = reinterpret_cast<pfnINSTALL_INIT>(GetProcAddress(library_, "Install_Init"));
  hooks_.installExit = reinterpret_cast<pfnINSTALL_EXIT>(GetProcAddress(library_, "Install_Exit"));
  hooks_.uninstallInit = reinterpret_cast<pfnUNINSTALL_INIT>(GetProcAddress(library_, "Uninstall_Init"));
  hooks_.uninstallExit = reinterpret_cast<pfnUNINSTALL_EXIT>(GetProcAddress(library_, "Uninstall_Exit"));
  ASSERT_TRUE(hooks_.installInit && hooks_.installExit && hooks_.uninstallInit && hooks_.uninstallExit);
}

void SetupTest::TearDown()
{
  kvtest::DestroyThreadWindows();
  if (library_)
    FreeLibrary(library_);
}

}  // namespace zunsetup_test
