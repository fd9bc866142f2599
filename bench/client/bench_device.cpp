#include "bench_device.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

namespace clientbench {

namespace fs = std::filesystem;

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
  child.out = nullptr;
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

Arguments ParseArguments(int argc, char** argv, int defaultRounds)
{
  Arguments arguments{defaultRounds, {}};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--against") == 0 && i + 1 < argc)
      arguments.against = argv[++i];
    else
      arguments.rounds = std::max(1, std::atoi(argv[i]));
  }
  return arguments;
}

BenchDevice::~BenchDevice()
{
  StopGateway();
  if (!scratch_.empty()) {
    std::error_code error;
    fs::remove_all(scratch_, error);
  }
}

void BenchDevice::StopGateway()
{
  if (gateway_.pid > 0) {
    kill(gateway_.pid, SIGTERM);
    Finish(gateway_);
  }
  gateway_ = {};
}

bool BenchDevice::RenewGateway()
{
  StopGateway();
  fs::path tls = fs::path(scratch_) / "tls";
  gateway_ = Start({KV_TESTGATEWAY, "--port", "0", "--tls", tls.string(), "--demo"});
  std::string url = ReadLine(gateway_.out);
  if (url.empty()) {
    std::fprintf(stderr, "%s: the demo gateway did not start\n", benchName_.c_str());
    return false;
  }
  std::ofstream(root_ / "device.ini") << "[screen]\nwidth = 240\nheight = 320\n[network]\nca_bundle = "
                                      << (tls / "ca.pem").string() << "\ngateway = " << url << "\n";
  return true;
}

bool BenchDevice::Prepare(const std::string& benchName)
{
  benchName_ = benchName;
  std::string scratch = (fs::temp_directory_path() / ("korvex-" + benchName + "-XXXXXX")).string();
  if (!mkdtemp(scratch.data())) {
    std::perror((benchName + ": mkdtemp").c_str());
    return false;
  }
  scratch_ = scratch;
  root_ = fs::path(scratch) / "device";
  fs::create_directories(root_ / "Windows");
  fs::create_directories(root_ / "Temp");
  fs::permissions(scratch, fs::perms::owner_all);
  setenv("KORVEX_DEVICE_ROOT", root_.c_str(), 1);
  if (!RenewGateway())
    return false;

  fs::copy_file(KV_WCELOAD, root_ / "Windows/wceload.exe");
  fs::copy_file(KV_KORVEX_PACKAGE, root_ / "Temp/KorvexPortal.CAB");
  Child installer = Start({(root_ / "Windows/wceload.exe").string(), "\"\\Temp\\KorvexPortal.CAB\" /delete 1 /silent"});
  int installed = Finish(installer);
  if (installed != 0) {
    std::fprintf(stderr, "%s: the package did not install (%d)\n", benchName.c_str(), installed);
    return false;
  }
  return true;
}

std::string BenchDevice::Place(const std::string& program, const std::string& name)
{
  fs::path placed = root_ / "Program Files/KorvexPortal" / name;
  std::error_code error;
  if (!fs::copy_file(program, placed, fs::copy_options::overwrite_existing, error)) {
    std::fprintf(stderr, "%s: %s not copied: %s\n", benchName_.c_str(), program.c_str(), error.message().c_str());
    return {};
  }
  return placed.string();
}

bool BenchDevice::RunProbe(const std::string& probe, const std::vector<std::string>& arguments,
                           size_t expectedFigures, std::map<std::string, double>& figures)
{
  std::vector<std::string> command{probe};
  command.insert(command.end(), arguments.begin(), arguments.end());
  Child client = Start(command);
  figures.clear();
  for (std::string line; !(line = ReadLine(client.out)).empty();) {
    size_t blank = line.find(' ');
    if (blank != std::string::npos)
      figures[line.substr(0, blank)] = std::atof(line.c_str() + blank + 1);
  }
  return Finish(client) == 0 && figures.size() >= expectedFigures;
}

}  // namespace clientbench
