// The box's event belongs to its process: an order-pay copy of the client runs beside the main
// one, and its box ending its own wait does not end the main one's.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

#include "message_box_fixture.h"

extern char** environ;

using namespace boxtest;
using namespace kvtest;

namespace {

// Runs this test program's case (disabled in ordinary runs) in a process of its own, on the same
// device; its exit status, or -1.
int RunInOtherProcess(const char* testCase)
{
  std::string filter = std::string("--gtest_filter=") + testCase;
  char program[] = "/proc/self/exe";
  char alsoDisabled[] = "--gtest_also_run_disabled_tests";
  char* argv[] = {program, filter.data(), alsoDisabled, nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) != 0)
    return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

TEST_F(MessageBoxTest, AnotherProcesssBoxDoesNotEndThisOnesWait)
{
  ShowScreen();
  Ask(u"确定要付款吗？", KV_BOX_OKCANCEL);
  ASSERT_TRUE(Waiting());
  ASSERT_EQ(0, RunInOtherProcess("MessageBoxOtherProcess.DISABLED_ArmsAndEndsItsOwnWait"));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_TRUE(Waiting()) << "the other process ended this wait";
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

// The other process: the same device root, its own application object and box.
TEST(MessageBoxOtherProcess, DISABLED_ArmsAndEndsItsOwnWait)
{
  ASSERT_NE(nullptr, std::getenv("KORVEX_DEVICE_ROOT"));
  SetScreenSize(240, 320);
  CKorvexPortalApp app;
  app.SetResourceLibrary(LoadLibraryW(u"ModelRes_240x320"));
  CThreadMessageBox& box = CThreadMessageBox::Instance();
  ASSERT_TRUE(box.HasWindow());
  box.ArmWait();
  box.EndWait();
  CThreadMessageBox::DestroyInstance();
}

}  // namespace
