// The desktop window under SDL's offscreen driver: it opens and closes again and again,
// programs that show it end cleanly, and a device without a usable video driver says so once
// and goes on headless. A headless device never loads SDL2 at all.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "internal/display/desktop_window.h"
#include "testing/device_root.h"

extern char** environ;

namespace {

constexpr char kNoWindow[] = "display: no desktop window";

int Occurrences(const std::string& text, const std::string& part)
{
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// A run of the display program, its standard error gathered in a pipe.
struct ProgramRun {
  pid_t pid = -1;
  int errors = -1;

  ProgramRun()
  {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char* arguments[] = {const_cast<char*>(KV_DISPLAY_PROGRAM), nullptr};
    if (posix_spawn(&pid, KV_DISPLAY_PROGRAM, &actions, nullptr, arguments, environ) != 0)
      pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    errors = pipeEnds[0];
  }

  // The program's exit code (-1 when it did not exit by itself) and what it wrote to stderr.
  std::pair<int, std::string> Finish()
  {
    std::string text;
    char chunk[512];
    for (ssize_t n; (n = read(errors, chunk, sizeof chunk)) > 0;)
      text.append(chunk, static_cast<size_t>(n));
    close(errors);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
      return {-1, text};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
  }
};

bool SdlIsMapped()
{
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find("libSDL2") != std::string::npos)
      return true;
  return false;
}

TEST(HeadlessDisplay, NeverLoadsSdlUntilTheWindowIsAskedFor)
{
  device::testing::ScopedDeviceRoot root;
  unsetenv("KV_DISPLAY");
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  EXPECT_FALSE(display::OpenDesktopWindow());
  display::CloseDesktopWindow();
  EXPECT_FALSE(SdlIsMapped());

  setenv("KV_DISPLAY", "sdl", 1);
  ASSERT_TRUE(display::OpenDesktopWindow());
  EXPECT_TRUE(SdlIsMapped());
  display::CloseDesktopWindow();
  unsetenv("KV_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
}

class DesktopWindow : public ::testing::Test {
 protected:
  void SetUp() override
  {
    setenv("KV_DISPLAY", "sdl", 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
  }
  void TearDown() override
  {
    display::CloseDesktopWindow();
    unsetenv("KV_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
  }

  device::testing::ScopedDeviceRoot root;
};

TEST_F(DesktopWindow, OpensAndClosesFiftyTimesInARow)
{
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(display::OpenDesktopWindow()) << "opening " << i;
    EXPECT_TRUE(display::OpenDesktopWindow()) << "one window at a time";
    display::CloseDesktopWindow();
  }
}

TEST_F(DesktopWindow, ProgramsThatShowItEndCleanly)
{
  std::vector<ProgramRun> runs(8);
  for (ProgramRun& run : runs) {
    auto [code, errors] = run.Finish();
    EXPECT_EQ(0, code) << errors;
    EXPECT_EQ(0, Occurrences(errors, kNoWindow)) << errors;
  }
}

TEST_F(DesktopWindow, WithoutAVideoDriverTheDeviceSaysSoOnceAndRunsHeadless)
{
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(display::OpenDesktopWindow());
  EXPECT_FALSE(display::OpenDesktopWindow());
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(1, Occurrences(said, kNoWindow)) << said;

  auto [code, errors] = ProgramRun().Finish();
  EXPECT_EQ(0, code) << "a program runs on without the window: " << errors;
  EXPECT_EQ(1, Occurrences(errors, kNoWindow)) << errors;
}

}  // namespace
