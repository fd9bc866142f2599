// The device's programs run from a test as the device runs them: the service host with the
// services it starts, a browser's exchange with a loopback port, and a program that another
// program started (the client a service starts) driven from the test: found by its file name,
// keys and text typed into it, waited on until its threads are idle or it ended.
//
//   kvtest::ServiceHost host;                       // in the root KORVEX_DEVICE_ROOT names
//   ASSERT_TRUE(host.Start({"Dovrel"}));
//   std::string answer = kvtest::LoopbackExchange(port, "GET /gateway.do?... HTTP/1.1\r\n\r\n");
//   kvtest::DeviceProgram client;
//   ASSERT_TRUE(client.Attach(u"KorvexPortal.exe"));
//   ASSERT_TRUE(client.WaitForKeyboardAt(1011));     // its password field has the keyboard
//   ASSERT_TRUE(client.TypeText(u"pay123456") && client.PressKey(VK_F1));
//   ... once it shows its answer (a box that waits for a key): client.WaitUntilIdle() ...
//
// Input reaches the other process through the device's process link: it enters that process's
// input source as its own keyboard would give it, to its foreground thread's focus window. Every
// wait has a bound; a function that returns false ran into it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "user/user.h"

namespace kvtest {

// Bounds generous enough for a sanitizer build on a loaded machine.
constexpr DWORD kProgramBoundMs = 60000;

// The service host program (korvex-services) of the build, run in the device root that
// KORVEX_DEVICE_ROOT names when Start is called. Its standard error is the test's.
class ServiceHost {
 public:
  ServiceHost();
  explicit ServiceHost(std::string program);
  ~ServiceHost();  // stops a host still running
  ServiceHost(const ServiceHost&) = delete;
  ServiceHost& operator=(const ServiceHost&) = delete;

  // Starts the host with the services to start and waits until it says "ready"; false when it
  // ended or did not say so within the bound.
  bool Start(const std::vector<std::string>& services, DWORD boundMs = kProgramBoundMs);
  // Ends it as the device does (SIGTERM); its exit code, or -1 when it did not end normally.
  int Stop();

 private:
  std::string program_;
  int pid_ = -1;
  int output_ = -1;
};

// A port of 127.0.0.1 that nothing listens on now.
uint16_t FreeLoopbackPort();

// A host socket (not the device's) connected to 127.0.0.1:port whose reads wait at most
// timeoutSeconds each; -1 when nothing listens. The caller closes it.
int ConnectLoopback(uint16_t port, int timeoutSeconds);

// A browser's whole exchange with 127.0.0.1:port: sends the request, then everything the server
// sent until it closed (reads wait at most timeoutSeconds each); "(refused)" when nothing listens.
std::string LoopbackExchange(uint16_t port, const std::string& request, int timeoutSeconds = 120);

// A program of the device that another program started, driven from the test.
class DeviceProgram {
 public:
  DeviceProgram() = default;
  ~DeviceProgram();  // ends the program if it still runs
  DeviceProgram(const DeviceProgram&) = delete;
  DeviceProgram& operator=(const DeviceProgram&) = delete;

  // Waits until a process of the program (its file name, "KorvexPortal.exe") runs and has a
  // top-level window. A run that ended is passed over even while it is still listed, so after
  // one run ended the next is found.
  bool Attach(const char16_t* fileName, DWORD boundMs = kProgramBoundMs);
  DWORD ProcessId() const { return processId_; }
  // A top-level window of it (which one is not said).
  HWND Window() const { return window_; }

  // Waits until every thread of it that takes messages waits with nothing to take: a thread
  // blocked on a request or a kernel object is not idle; one that waits in a modal box is.
  bool WaitUntilIdle(DWORD boundMs = kProgramBoundMs);
  // Waits until key input of it goes to a shown control of that id (the control a screen puts
  // the focus on once it shows, ready for the user).
  bool WaitForKeyboardAt(int controlId, DWORD boundMs = kProgramBoundMs);
  // A key pressed and released; text typed, one character at a time. The input is queued at
  // once to the window that has the keyboard then (so input given in a row goes to one window);
  // wait until the program is idle before input meant for a window it shows in answer. A key
  // whose press ends the program counts as pressed once the program ended.
  bool PressKey(UINT virtualKey);
  bool TypeText(const std::u16string& text);

  // Waits for the process to end and gives its exit code; false when it still ran at the bound.
  bool WaitForExit(DWORD* exitCode, DWORD boundMs = kProgramBoundMs);

 private:
  DWORD processId_ = 0;
  HWND window_ = nullptr;
  HANDLE process_ = nullptr;
};

}  // namespace kvtest
