// The box's event belongs to its process: an order-pay copy of the client runs beside the main
// one, and its box ending its own wait does not end the main one's.
#include <spawn.h>
#include <sys/wait.h>

#include "message_box_fixture.h"

extern char** environ;

using namespace boxtest;
using namespace kvtest;

namespace {

// Runs the other copy of the client on the same device; its exit status, or -1.
int RunOtherCopy()
{
  char program[] = KV_MESSAGE_BOX_PEER;
  char* argv[] = {program, nullptr};
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
  ASSERT_EQ(0, RunOtherCopy()) << "the other copy armed and ended its own box's wait";
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_TRUE(Waiting()) << "the other process ended this wait";
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

}  // namespace
