#include "host_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

extern char** environ;

namespace dovrel_test {

HostProcess::~HostProcess()
{
  Stop();
}

bool HostProcess::Start(const std::vector<std::string>& services)
{
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  std::vector<char*> argv = {const_cast<char*>(KV_SERVICE_HOST)};
  for (const std::string& service : services) {
    argv.push_back(const_cast<char*>(service.c_str()));
  }
  argv.push_back(nullptr);
  pid_t pid = -1;
  int spawned = posix_spawn(&pid, KV_SERVICE_HOST, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  output_ = ends[0];
  if (spawned != 0) {
    return false;
  }
  pid_ = pid;
  std::string said;
  char c = 0;
  pollfd readable = {output_, POLLIN, 0};
  while (said.find("ready\n") == std::string::npos && poll(&readable, 1, 30000) == 1 && read(output_, &c, 1) == 1) {
    said += c;
  }
  return said.find("ready\n") != std::string::npos;
}

int HostProcess::Stop()
{
  int code = -1;
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) {
      code = WEXITSTATUS(status);
    }
    pid_ = -1;
  }
  if (output_ >= 0) {
    close(output_);
    output_ = -1;
  }
  return code;
}

std::string ListeningAddress(uint16_t port)
{
  char wanted[8];
  std::snprintf(wanted, sizeof wanted, ":%04X", port);
  std::ifstream table("/proc/net/tcp");
  std::string line;
  std::getline(table, line);  // the column names
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (state == "0A" && local.size() > 5 && local.substr(local.size() - 5) == wanted) {
      return local.substr(0, local.size() - 5);
    }
  }
  return "";
}

}  // namespace dovrel_test
