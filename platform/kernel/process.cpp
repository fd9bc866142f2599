#include "kernel/process.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/device_settings.h"
#include "kernel/handle_table.h"
#include "kernel/host_error.h"
#include "kernel/modules.h"
#include "kernel/thread.h"
#include "process_list.h"
#include "text/codepage.h"
#include "thread_object.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kernel {
namespace {

// A process of the device: a child this process started, another process of the device, or
// this process itself (which never ends while it can be asked).
class Process : public LocalWaitable {
 public:
  Process(pid_t id, int pidfd, bool child, std::shared_ptr<Thread> mainThread, int entry)
      : id(id), child(child), pidfd_(pidfd), mainThread_(std::move(mainThread)), entry_(entry)
  {
  }
  ~Process() override
  {
    if (pidfd_ >= 0) {
      close(pidfd_);
    }
  }

  bool IsSignalled() const override { return ended_.load(); }
  bool TryAcquire() override { return ended_.load(); }

  DWORD ExitCode() const { return ended_.load() ? exitCode_.load() : STILL_ACTIVE; }
  bool IsSelf() const { return pidfd_ < 0; }

  bool Terminate(DWORD code)
  {
    terminateCode_.store(static_cast<int64_t>(code));
    return syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0) == 0;
  }

  // Runs on a thread of its own until the process has ended.
  void Watch()
  {
    DWORD code = 0;
    if (child) {
      siginfo_t info{};
      int result;
      do {
        result = waitid(P_PID, static_cast<id_t>(id), &info, WEXITED);
      } while (result != 0 && errno == EINTR);
      int64_t terminated = terminateCode_.load();
      if (result == 0 && info.si_code == CLD_EXITED) {
        code = static_cast<DWORD>(info.si_status);
      } else if (terminated >= 0) {
        code = static_cast<DWORD>(terminated);
      } else if (result == 0) {
        code = 128 + static_cast<DWORD>(info.si_status);
      }
    } else {
      pollfd ended{pidfd_, POLLIN, 0};
      while (poll(&ended, 1, -1) < 0 && errno == EINTR) {
      }
      code = static_cast<DWORD>(std::max<int64_t>(terminateCode_.load(), 0));
    }
    device::ReleaseChildEntry(static_cast<DWORD>(id), entry_);
    exitCode_.store(code);
    ended_.store(true);
    if (mainThread_) {
      mainThread_->SetExitCode(code);
      mainThread_->Ended();
    }
    NotifyWaiters();
  }

  const pid_t id;
  const bool child;

 private:
  int pidfd_;
  std::shared_ptr<Thread> mainThread_;
  int entry_;  // the child's entry in the process list, held until it ended
  std::atomic<bool> ended_{false};
  std::atomic<DWORD> exitCode_{0};
  std::atomic<int64_t> terminateCode_{-1};
};

// The processes this process has objects for, by id, so that every handle to one process
// reaches one object (a child's exit code is known to its parent's object only).
struct KnownProcesses {
  std::mutex mutex;
  std::map<pid_t, std::weak_ptr<Process>> byId;
};

KnownProcesses& Known()
{
  static KnownProcesses* known = new KnownProcesses;
  return *known;
}

void StartWatching(const std::shared_ptr<Process>& process)
{
  std::thread([process] { process->Watch(); }).detach();
}

struct Program {
  std::vector<std::string> arguments;  // the host program first
  std::u16string devicePath;
  bool searchHostPath = false;  // the browser command may name a program on the host's PATH
};

// The browser is given only an http or https address, on one line: nothing it could take for
// an option of its own or for a local file.
bool IsWebAddress(std::string_view text)
{
  auto startsWith = [&](std::string_view scheme) {
    return text.size() > scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), text.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
  };
  bool oneLine = std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  return oneLine && (startsWith("http://") || startsWith("https://"));
}

std::optional<Program> FindProgram(LPCWSTR applicationName, std::string_view commandLine)
{
  bool browser = false;
  for (const std::u16string& candidate : device::SearchPaths(applicationName, u".exe")) {
    std::optional<device::MappedPath> path = device::MapPath(candidate);
    if (!path) {
      return std::nullopt;
    }
    struct stat info {};
    if (path->exists && stat(path->host.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      Program program{{path->host}, device::DevicePathOf(path->host).value_or(candidate)};
      if (!commandLine.empty()) {
        program.arguments.emplace_back(commandLine);
      }
      return program;
    }
    browser = browser || device::SameName(candidate, u"\\Windows\\iexplore.exe");
  }
  const std::vector<std::string>& command = device::Settings().browserCommand;
  if (browser && !command.empty()) {
    if (!IsWebAddress(commandLine)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return std::nullopt;
    }
    Program program{command, u"\\Windows\\iexplore.exe", true};
    program.arguments.emplace_back(commandLine);
    return program;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return std::nullopt;
}

// The environment of a child: this one, with the device root in use.
std::vector<std::string> ChildEnvironment()
{
  std::vector<std::string> environment;
  for (char** variable = environ; *variable; ++variable) {
    if (std::string_view(*variable).substr(0, 19) != "KORVEX_DEVICE_ROOT=") {
      environment.emplace_back(*variable);
    }
  }
  environment.push_back("KORVEX_DEVICE_ROOT=" + device::RootPath());
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
  std::vector<char*> pointers;
  for (std::string& text : texts) {
    pointers.push_back(text.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

// The host program a name given without a folder stands for, looked for on the host's PATH.
std::string OnHostPath(const std::string& name)
{
  const char* path = getenv("PATH");
  if (name.find('/') != std::string::npos || !path) {
    return name;
  }
  std::string_view folders(path);
  while (!folders.empty()) {
    size_t end = std::min(folders.find(':'), folders.size());
    std::string candidate = std::string(folders.substr(0, end)) + "/" + name;
    if (end > 0 && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    folders.remove_prefix(std::min(end + 1, folders.size()));
  }
  return name;
}

// Starts a child that runs the program only once its gate (a pipe) is written; *gate receives
// the write end. Between fork and exec the child makes only calls that are safe there.
pid_t SpawnHeld(const std::string& program, char* const* argv, char* const* envp, int* gate, int* error)
{
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    *error = errno;
    return -1;
  }
  const char* path = program.c_str();
  pid_t id = fork();
  if (id == 0) {
    // Raw system calls: nothing here may take a lock another thread held at the fork.
    syscall(SYS_close, ends[1]);
    char go = 0;
    long received;
    do {
      received = syscall(SYS_read, ends[0], &go, 1);
    } while (received < 0 && errno == EINTR);
    if (received == 1) {
      syscall(SYS_execve, path, argv, envp);
    }
    _exit(127);
  }
  close(ends[0]);
  if (id < 0) {
    *error = errno;
    close(ends[1]);
    return -1;
  }
  *gate = ends[1];
  return id;
}

}  // namespace
}  // namespace kernel

using namespace kernel;

BOOL CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                    DWORD dwCreationFlags, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION lpProcessInformation)
{
  std::u16string_view line = lpCommandLine ? std::u16string_view(lpCommandLine) : std::u16string_view();
  std::optional<std::string> commandLine = device::ToHost(line);
  if (!lpApplicationName || !*lpApplicationName || !commandLine || !lpProcessInformation ||
      line.size() > MAX_COMMAND_LINE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<Program> program = FindProgram(lpApplicationName, *commandLine);
  if (!program) {
    return FALSE;
  }
  std::vector<std::string> environment = ChildEnvironment();
  std::vector<char*> argv = Pointers(program->arguments), envp = Pointers(environment);
  bool suspended = (dwCreationFlags & CREATE_SUSPENDED) != 0;
  pid_t id = 0;
  int gate = -1;
  int error = 0;
  if (suspended) {
    std::string host = program->searchHostPath ? OnHostPath(argv[0]) : std::string(argv[0]);
    id = SpawnHeld(host, argv.data(), envp.data(), &gate, &error);
  } else {
    error = program->searchHostPath ? posix_spawnp(&id, argv[0], nullptr, nullptr, argv.data(), envp.data())
                                    : posix_spawn(&id, argv[0], nullptr, nullptr, argv.data(), envp.data());
  }
  if (error != 0) {
    SetLastError(error == ENOENT ? ERROR_FILE_NOT_FOUND : device::ErrorFromErrno(error));
    return FALSE;
  }
  int entry = device::HoldChildEntry(static_cast<DWORD>(id), program->devicePath, line);
  int pidfd = static_cast<int>(syscall(SYS_pidfd_open, id, 0));
  auto mainThread = std::make_shared<Thread>();
  mainThread->Started(static_cast<DWORD>(id));
  if (suspended) {
    mainThread->HoldAtGate(gate);
  }
  auto process = std::make_shared<Process>(id, pidfd, true, mainThread, entry);
  {
    KnownProcesses& known = Known();
    std::lock_guard lock(known.mutex);
    known.byId[id] = process;
  }
  StartWatching(process);
  HANDLE processHandle = InsertHandle(process);
  HANDLE threadHandle = processHandle ? InsertHandle(mainThread) : nullptr;
  if (!threadHandle) {
    if (processHandle) {
      RemoveHandle(processHandle);
    }
    return FALSE;
  }
  *lpProcessInformation = {processHandle, threadHandle, static_cast<DWORD>(id), static_cast<DWORD>(id)};
  return TRUE;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD dwProcessId)
{
  pid_t id = static_cast<pid_t>(dwProcessId);
  std::shared_ptr<Process> process;
  {
    KnownProcesses& known = Known();
    std::lock_guard lock(known.mutex);
    process = known.byId[id].lock();
  }
  if (!process) {
    std::vector<device::ListedProcess> listed = device::ListProcesses();
    bool onDevice = std::any_of(listed.begin(), listed.end(), [&](const auto& entry) { return entry.id == dwProcessId; });
    int pidfd = onDevice && id != getpid() ? static_cast<int>(syscall(SYS_pidfd_open, id, 0)) : -1;
    if (!onDevice || (id != getpid() && pidfd < 0)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    process = std::make_shared<Process>(id, pidfd, false, nullptr, -1);
    KnownProcesses& known = Known();
    std::lock_guard lock(known.mutex);
    known.byId[id] = process;
    if (!process->IsSelf()) {
      StartWatching(process);
    }
  }
  return InsertHandle(process);
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
  if (!lpExitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (hProcess == GetCurrentProcess()) {
    *lpExitCode = STILL_ACTIVE;
    return TRUE;
  }
  auto process = LookupHandleAs<Process>(hProcess);
  if (!process) {
    return FALSE;
  }
  *lpExitCode = process->ExitCode();
  return TRUE;
}

BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode)
{
  std::shared_ptr<Process> process;
  if (hProcess != GetCurrentProcess()) {
    process = LookupHandleAs<Process>(hProcess);
    if (!process) {
      return FALSE;
    }
  }
  if (!process || process->IsSelf()) {
    _exit(static_cast<int>(uExitCode));
  }
  if (process->IsSignalled() || !process->Terminate(uExitCode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

namespace {

// Asked of the system once, since window handles ask for it on every lookup. A program the layer
// starts is a new image that asks again; a child made by fork forgets the parent's.
std::atomic<DWORD> g_processId{0};

}  // namespace

DWORD GetCurrentProcessId()
{
  DWORD id = g_processId.load(std::memory_order_relaxed);
  if (id == 0) {
    static const int forgetInChild = pthread_atfork(nullptr, nullptr, [] { g_processId.store(0); });
    (void)forgetInChild;
    id = static_cast<DWORD>(getpid());
    g_processId.store(id, std::memory_order_relaxed);
  }
  return id;
}

LPWSTR GetCommandLineW()
{
  // The arguments after the program's name, joined by blanks: a child started by CreateProcess
  // has its whole command line as one argument.
  static std::u16string* commandLine = [] {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    std::string arguments = content.str();
    size_t first = arguments.find('\0');
    arguments = first == std::string::npos ? std::string() : arguments.substr(first + 1);
    if (!arguments.empty() && arguments.back() == '\0') {
      arguments.pop_back();
    }
    std::replace(arguments.begin(), arguments.end(), '\0', ' ');
    auto* text = new std::u16string(arguments.size(), u'\0');
    int length = arguments.empty() ? 0
                                   : MultiByteToWideChar(CP_UTF8, 0, arguments.data(), static_cast<int>(arguments.size()),
                                                         text->data(), static_cast<int>(text->size()));
    text->resize(static_cast<size_t>(std::max(length, 0)));
    return text;
  }();
  return commandLine->data();
}
