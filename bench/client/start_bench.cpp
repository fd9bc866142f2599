// The client's cold start, measured in fresh processes on a fresh device: the client's package
// installed through the device's installer, the demo gateway (its own process, over HTTPS with
// its test CA) and the client's application started by a probe program in the install folder,
// once per round. For each round the probe reports the time from its start to the login dialog,
// to the desktop after the demo login (with the unpaid-trades list skipped on the way), and the
// resident memory at the desktop. Prints each round, the medians and the memory goal.
//
//   client_start_bench [rounds]      (default 5)
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kResidentGoalMegabytes = 40;

long long MonotonicNanoseconds()
{
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// A program started with its standard output on a pipe.
struct Child {
  pid_t pid = -1;
  FILE* out = nullptr;
};

Child Start(const std::vector<std::string>& arguments)
{
  int fds[2];
  if (pipe(fds) != 0)
    return {};
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  return {pid, fdopen(fds[0], "r")};
}

int Finish(Child& child)
{
  if (child.out)
    fclose(child.out);
  int status = 0;
  waitpid(child.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadLine(FILE* in)
{
  char buffer[512];
  if (!in || !fgets(buffer, sizeof buffer, in))
    return {};
  std::string line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.pop_back();
  return line;
}

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::string scratch = (fs::temp_directory_path() / "korvex-start-bench-XXXXXX").string();
  if (!mkdtemp(scratch.data())) {
    std::perror("client_start_bench: mkdtemp");
    return 1;
  }
  fs::path root = fs::path(scratch) / "device";
  fs::create_directories(root / "Windows");
  fs::create_directories(root / "Temp");
  fs::permissions(scratch, fs::perms::owner_all);
  setenv("KORVEX_DEVICE_ROOT", root.c_str(), 1);

  fs::path tls = fs::path(scratch) / "tls";
  Child gateway = Start({KV_TESTGATEWAY, "--port", "0", "--tls", tls.string(), "--demo"});
  std::string url = ReadLine(gateway.out);
  if (url.empty()) {
    std::fprintf(stderr, "client_start_bench: the demo gateway did not start\n");
    return 1;
  }
  std::ofstream(root / "device.ini") << "[screen]\nwidth = 240\nheight = 320\n[network]\nca_bundle = "
                                     << (tls / "ca.pem").string() << "\ngateway = " << url << "\n";

  fs::copy_file(KV_WCELOAD, root / "Windows/wceload.exe");
  fs::copy_file(KV_KORVEX_PACKAGE, root / "Temp/KorvexPortal.CAB");
  Child installer = Start({(root / "Windows/wceload.exe").string(), "\"\\Temp\\KorvexPortal.CAB\" /delete 1 /silent"});
  int installed = Finish(installer);
  fs::path probe = root / "Program Files/KorvexPortal/KorvexStartProbe.exe";
  if (installed != 0 || !fs::copy_file(KV_START_PROBE, probe)) {
    std::fprintf(stderr, "client_start_bench: the package did not install (%d)\n", installed);
    return 1;
  }

  std::map<std::string, std::vector<double>> figures;
  int failed = 0;
  std::printf("%-6s %12s %14s %18s %10s\n", "round", "login ms", "desktop ms", "login->desktop ms", "RSS MB");
  for (int round = 1; round <= rounds; ++round) {
    Child client = Start({probe.string(), std::to_string(MonotonicNanoseconds())});
    std::map<std::string, double> values;
    for (std::string line; !(line = ReadLine(client.out)).empty();) {
      size_t blank = line.find(' ');
      if (blank != std::string::npos)
        values[line.substr(0, blank)] = std::atof(line.c_str() + blank + 1);
    }
    if (Finish(client) != 0 || values.size() < 4) {
      std::printf("%-6d the client did not reach its desktop\n", round);
      ++failed;
      continue;
    }
    values["rss"] /= 1024;
    for (const auto& [name, value] : values)
      figures[name].push_back(value);
    std::printf("%-6d %12.1f %14.1f %18.1f %10.1f\n", round, values["login"], values["desktop"],
                values["login-to-desktop"], values["rss"]);
  }
  if (!figures.empty()) {
    double rss = Median(figures["rss"]);
    std::printf("%-6s %12.1f %14.1f %18.1f %10.1f\n", "median", Median(figures["login"]), Median(figures["desktop"]),
                Median(figures["login-to-desktop"]), rss);
    std::printf("\nresident memory at the desktop: %.1f MB, goal under %.0f MB: %s\n", rss, kResidentGoalMegabytes,
                rss < kResidentGoalMegabytes ? "met" : "MISSED");
  }

  kill(gateway.pid, SIGTERM);
  Finish(gateway);
  std::error_code error;
  fs::remove_all(scratch, error);
  return failed == 0 ? 0 : 1;
}
