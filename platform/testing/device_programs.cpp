#include "testing/device_programs.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>

#include "internal/user/test_hooks.h"
#include "kernel/handle.h"
#include "kernel/process.h"
#include "kernel/toolhelp.h"
#include "kernel/wait.h"
#include "text/widechar.h"

extern char** environ;

namespace kvtest {
namespace {

using Clock = std::chrono::steady_clock;

DWORD Remaining(Clock::time_point deadline)
{
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

sockaddr_in Loopback(uint16_t port)
{
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// The processes of the device whose program has that file name, in order of their ids. A
// process that ended may still be listed for a moment: its parent lists it until it has seen it
// end.
std::vector<DWORD> FindProcesses(const char16_t* fileName)
{
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return found;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, fileName) == 0)
      found.push_back(entry.th32ProcessID);
  CloseToolhelp32Snapshot(snapshot);
  return found;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK TakeWindowOfProcess(HWND window, LPARAM lParam)
{
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD process = 0;
  if (GetWindowThreadProcessId(window, &process) && process == search->processId) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

ServiceHost::ServiceHost() : program_(KV_SERVICE_HOST_PROGRAM) {}

ServiceHost::ServiceHost(std::string program) : program_(std::move(program)) {}

ServiceHost::~ServiceHost()
{
  Stop();
}

bool ServiceHost::Start(const std::vector<std::string>& services, DWORD boundMs)
{
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0)
    return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  std::vector<char*> argv = {program_.data()};
  std::vector<std::string> names = services;
  for (std::string& service : names)
    argv.push_back(service.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int spawned = posix_spawn(&pid, program_.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  output_ = ends[0];
  if (spawned != 0)
    return false;
  pid_ = pid;
  auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  std::string said;
  char c = 0;
  pollfd readable = {output_, POLLIN, 0};
  while (said.find("ready\n") == std::string::npos && poll(&readable, 1, static_cast<int>(Remaining(deadline))) == 1 &&
         read(output_, &c, 1) == 1)
    said += c;
  return said.find("ready\n") != std::string::npos;
}

int ServiceHost::Stop()
{
  int code = -1;
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status))
      code = WEXITSTATUS(status);
    pid_ = -1;
  }
  if (output_ >= 0) {
    close(output_);
    output_ = -1;
  }
  return code;
}

uint16_t FreeLoopbackPort()
{
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

int ConnectLoopback(uint16_t port, int timeoutSeconds)
{
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return -1;
  timeval timeout{timeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address = Loopback(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string LoopbackExchange(uint16_t port, const std::string& request, int timeoutSeconds)
{
  int fd = ConnectLoopback(port, timeoutSeconds);
  if (fd < 0)
    return "(refused)";
  for (size_t sent = 0; sent < request.size();) {
    ssize_t done = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (done <= 0)
      break;
    sent += static_cast<size_t>(done);
  }
  std::string answer;
  char buffer[4096];
  for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
    answer.append(buffer, static_cast<size_t>(got));
  ::close(fd);
  return answer;
}

DeviceProgram::~DeviceProgram()
{
  if (process_) {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, kProgramBoundMs);
    }
    CloseHandle(process_);
  }
}

bool DeviceProgram::Attach(const char16_t* fileName, DWORD boundMs)
{
  auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  // Processes of the name seen to have ended (an earlier run of the program still listed): they
  // are passed over, so the run that is started next is found.
  std::set<DWORD> ended;
  for (;;) {
    for (DWORD id : FindProcesses(fileName)) {
      if (ended.count(id))
        continue;
      HANDLE process = OpenProcess(0, FALSE, id);
      if (!process || WaitForSingleObject(process, 0) != WAIT_TIMEOUT) {
        ended.insert(id);
        if (process)
          CloseHandle(process);
        continue;
      }
      WindowSearch search{id, nullptr};
      EnumWindows(TakeWindowOfProcess, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        processId_ = id;
        process_ = process;
        window_ = search.found;
        return true;
      }
      CloseHandle(process);
    }
    if (Remaining(deadline) == 0)
      return false;
    // Another process gives no signal when it starts or makes a window: look again shortly.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool DeviceProgram::WaitUntilIdle(DWORD boundMs)
{
  return window_ && user_test::WaitUntilProcessIdle(window_, boundMs);
}

bool DeviceProgram::WaitForKeyboardAt(int controlId, DWORD boundMs)
{
  auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  while (!window_ || user_test::KeyboardTargetIdInProcessOf(window_) != controlId) {
    if (Remaining(deadline) == 0)
      return false;
    // The other process gives no signal when its focus moves: look again shortly.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool DeviceProgram::PressKey(UINT virtualKey)
{
  if (!window_ || !user_test::InjectInProcessOf(window_, user_test::RemoteInput::keyDown, virtualKey))
    return false;
  // The key-down may end the program (it answers its last box): a key-up that finds it gone
  // then was not lost.
  return user_test::InjectInProcessOf(window_, user_test::RemoteInput::keyUp, virtualKey) ||
         (process_ && WaitForSingleObject(process_, kProgramBoundMs) == WAIT_OBJECT_0);
}

bool DeviceProgram::TypeText(const std::u16string& text)
{
  for (char16_t character : text)
    if (!window_ || !user_test::InjectInProcessOf(window_, user_test::RemoteInput::character, character))
      return false;
  return true;
}

bool DeviceProgram::WaitForExit(DWORD* exitCode, DWORD boundMs)
{
  if (!process_ || WaitForSingleObject(process_, boundMs) != WAIT_OBJECT_0)
    return false;
  return GetExitCodeProcess(process_, exitCode) != FALSE;
}

}  // namespace kvtest
