// The single-instance rule with the real program started a second time on the device: a start
// that finds a running client (its window titled "KorvexPortal", or only its process) hands the
// command line over and ends with 1; a start whose command line holds "/ORDERPAY" anywhere runs
// beside it, and so does one that finds nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "testing/device_programs.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kProgramBoundMs = 120000;

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    fs::path folder = root.path() + "/Program Files/Korvex";
    fs::create_directories(folder);
    fs::copy_file(KV_CLIENT_PROGRAM, folder / "KorvexPortal.exe");
  }
  void TearDown() override
  {
    EndWindowlessProcess();
    ui.Invoke([] { kvtest::DestroyThreadWindows(); });
    if (recording)
      FreeWindowProc(recording);
  }

  // A window titled as the running client's main window, noting the texts it is handed.
  void ShowClientWindow()
  {
    ui.Invoke([&] {
      window = CreateWindowExW(0, u"STATIC", u"KorvexPortal", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                               nullptr, nullptr);
      original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
      recording = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COPYDATA) {
          auto* data = reinterpret_cast<const COPYDATASTRUCT*>(l);
          std::lock_guard<std::mutex> guard(lock);
          handed.emplace_back(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t));
          return 0;
        }
        return CallWindowProcW(original, h, m, w, l);
      });
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording));
    });
  }

  // A process of the program's file name that shows no window: a stand-in that only waits.
  void RunWindowlessProcess()
  {
    if (standIn.hProcess)
      return;
    fs::path folder = root.path() + "/Program Files/Other";
    fs::create_directories(folder);
    std::ofstream(folder / "KorvexPortal.exe", std::ios::binary) << "#!/bin/sh\nexec sleep 600\n";
    fs::permissions(folder / "KorvexPortal.exe", fs::perms::owner_all);
    std::u16string line = u"/from:first";
    ASSERT_TRUE(CreateProcessW(u"\\Program Files\\Other\\KorvexPortal.exe", line.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &standIn));
    CloseHandle(standIn.hThread);
  }

  void EndWindowlessProcess()
  {
    if (!standIn.hProcess)
      return;
    TerminateProcess(standIn.hProcess, 0);
    WaitForSingleObject(standIn.hProcess, kProgramBoundMs);
    CloseHandle(standIn.hProcess);
    standIn = PROCESS_INFORMATION{};
  }

  // Starts the program with the command line: it either ends (its exit code) or runs on with a
  // window of its own (kRuns; it is ended then).
  static constexpr int kRuns = 0x100;
  int StartProgram(const std::u16string& commandLine, bool expectRun)
  {
    PROCESS_INFORMATION started{};
    std::u16string line = commandLine;
    if (!CreateProcessW(u"\\Program Files\\Korvex\\KorvexPortal.exe", line.empty() ? nullptr : line.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started))
      return -1;
    CloseHandle(started.hThread);
    int result = -1;
    if (expectRun) {
      kvtest::DeviceProgram program;
      if (program.Attach(u"KorvexPortal.exe") && program.ProcessId() == started.dwProcessId &&
          WaitForSingleObject(started.hProcess, 0) == WAIT_TIMEOUT)
        result = kRuns;
    } else if (WaitForSingleObject(started.hProcess, kProgramBoundMs) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(started.hProcess, &code);
      result = static_cast<int>(code);
    }
    // A copy that runs on is ended (the cases that run come last: the windows of an ended copy
    // are not taken back).
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, kProgramBoundMs);
    CloseHandle(started.hProcess);
    return result;
  }

  std::vector<std::u16string> Handed()
  {
    std::lock_guard<std::mutex> guard(lock);
    return handed;
  }

  device::testing::ScopedDeviceRoot root;
  kvtest::UiThread ui;
  HWND window = nullptr;
  WNDPROC original = nullptr;
  WNDPROC recording = nullptr;
  PROCESS_INFORMATION standIn{};
  std::mutex lock;
  std::vector<std::u16string> handed;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsCommandLineOverUnlessItPaysAnOrder)
{
  struct Case {
    const char* name;
    bool window;             // a client's main window is up
    bool windowlessProcess;  // a process of the program's name runs without one
    std::u16string commandLine;
    int outcome;  // kRuns: it runs beside; else its exit code
    std::vector<std::u16string> handed;  // what the window was given, terminator included
  };
  const Case cases[] = {
      {"an empty line is not sent", true, false, u"", 1, {}},
      {"a line is sent", true, false, u"/from:second", 1, {std::u16string(u"/from:second") + u'\0'}},
      {"a windowless client process still counts", false, true, u"/from:second", 1, {}},
      {"order pay runs beside, even inside a word", true, false, u"x/ORDERPAYy:out_trade_no=T1", kRuns, {}},
      {"nothing runs: the start runs", false, false, u"", kRuns, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!window)
      ShowClientWindow();
    // Without the window's title no client window is found.
    ui.Invoke([&] { SetWindowTextW(window, c.window ? u"KorvexPortal" : u"其他程序"); });
    if (c.windowlessProcess)
      RunWindowlessProcess();
    else
      EndWindowlessProcess();
    {
      std::lock_guard<std::mutex> guard(lock);
      handed.clear();
    }
    EXPECT_EQ(c.outcome, StartProgram(c.commandLine, c.outcome == kRuns));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(c.handed, Handed());
  }
}

}  // namespace
