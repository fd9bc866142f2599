// Two processes of one device: finding a window of the other process, WM_COPYDATA with its
// data copied across (and a send back while the sender waits), a posted WM_COMMAND, the
// window's thread and process, and the foreground.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "internal/user/test_hooks.h"
#include "process_list.h"
#include "testing/device_programs.h"
#include "user_test_fixture.h"

extern char** environ;

using namespace kvtest;

namespace {

class CrossProcess : public UserTest {
 protected:
  void TearDown() override
  {
    if (peer_ > 0 && !exited_) {
      kill(peer_, SIGKILL);
      waitpid(peer_, nullptr, 0);
    }
    UserTest::TearDown();
  }

  void StartPeer(const std::string& title)
  {
    resultPath_ = root.path() + "/peer-result.txt";
    std::string program = KV_WINDOW_PEER;
    char* args[] = {program.data(), const_cast<char*>(title.c_str()), resultPath_.data(), nullptr};
    ASSERT_EQ(0, posix_spawn(&peer_, program.c_str(), nullptr, nullptr, args, environ));
  }

  // Waits (bounded) for the peer to end; its exit code.
  int WaitForPeer()
  {
    int status = 0;
    bool ended = WaitFor([&] { return waitpid(peer_, &status, WNOHANG) == peer_; });
    exited_ = ended;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string PeerResult()
  {
    std::ifstream in(resultPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  pid_t peer_ = 0;
  bool exited_ = false;
  std::string resultPath_;
};

TEST_F(CrossProcess, FindCopyDataCommandAndForeground)
{
  HWND here = CreateRecordingWindow(log, {.name = "here", .handler = [](HWND, UINT m, WPARAM w, LPARAM) {
                                            return m == WM_USER + 1 ? std::optional<LRESULT>(w * 10)
                                                                     : std::optional<LRESULT>();
                                          }});
  StartPeer("Peer Window");
  HWND peer = WaitForTopLevelWindow(u"KvPeer", nullptr);
  ASSERT_NE(nullptr, peer);
  EXPECT_EQ(peer, FindWindowW(nullptr, u"PEER window")) << "titles compare without case";
  EXPECT_EQ(peer, FindWindowW(u"kvpeer", u"Peer Window"));
  EXPECT_EQ(nullptr, FindWindowW(u"KvPeer", u"Other"));
  EXPECT_TRUE(IsWindow(peer));
  DWORD process = 0;
  EXPECT_NE(0u, GetWindowThreadProcessId(peer, &process));
  EXPECT_EQ(static_cast<DWORD>(peer_), process);

  const char16_t text[] = u"/ORDERPAY:x";
  COPYDATASTRUCT copy{42, sizeof text, const_cast<char16_t*>(text)};
  log.Clear();
  EXPECT_EQ(static_cast<LRESULT>(sizeof text), SendMessageW(peer, WM_COPYDATA, reinterpret_cast<WPARAM>(here),
                                                            reinterpret_cast<LPARAM>(&copy)));
  EXPECT_EQ("", log.Mismatch({{"here", WM_USER + 1, sent | wparam, 5}}, "the peer called back during the send"));
  EXPECT_FALSE(PostMessageW(peer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy)));

  EXPECT_TRUE(SetForegroundWindow(peer));
  EXPECT_TRUE(PostMessageW(peer, WM_COMMAND, MAKEWPARAM(0x8007, 0), 0));
  EXPECT_EQ(0, WaitForPeer());
  EXPECT_EQ("copydata 42 /ORDERPAY:x\n"
            "sender answered 50\n"
            "activated\n"
            "command 32775\n"
            "foreground yes\n",
            PeerResult());
  EXPECT_FALSE(IsWindow(peer));
  EXPECT_EQ(nullptr, FindWindowW(u"KvPeer", nullptr));
  EXPECT_FALSE(PostMessageW(peer, WM_COMMAND, 1, 0));
  EXPECT_EQ(0, SendMessageW(peer, WM_USER, 0, 0));
}

// The test harness's input for another process: it enters that process's input source and goes
// to the window that has its keyboard; the process answers which control that is and whether it
// is idle.
TEST_F(CrossProcess, InputForAnotherProcessReachesItsKeyboard)
{
  StartPeer("Typed Peer");
  HWND peer = WaitForTopLevelWindow(u"KvPeer", nullptr);
  ASSERT_NE(nullptr, peer);
  EXPECT_EQ(-1, user_test::KeyboardTargetIdInProcessOf(peer)) << "nothing of the peer is in the foreground yet";

  ASSERT_TRUE(SetForegroundWindow(peer));
  EXPECT_EQ(-1, user_test::KeyboardTargetIdInProcessOf(peer)) << "its window has the keyboard but is not shown";
  // The peer takes its activation before the first key, as a person sees the window come up
  // before typing.
  ASSERT_TRUE(user_test::WaitUntilProcessIdle(peer, 30000));
  for (char16_t character : std::u16string(u"ok"))
    ASSERT_TRUE(user_test::InjectInProcessOf(peer, user_test::RemoteInput::character, character));
  ASSERT_TRUE(user_test::InjectInProcessOf(peer, user_test::RemoteInput::keyDown, VK_F1));
  ASSERT_TRUE(user_test::InjectInProcessOf(peer, user_test::RemoteInput::keyUp, VK_F1));
  EXPECT_TRUE(user_test::WaitUntilProcessIdle(peer, 30000));
  EXPECT_TRUE(PostMessageW(peer, WM_COMMAND, 1, 0));
  EXPECT_EQ(0, WaitForPeer());
  EXPECT_EQ("activated\nchar o\nchar k\nkey 112\ncommand 1\nforeground yes\n", PeerResult());
  EXPECT_FALSE(user_test::InjectInProcessOf(peer, user_test::RemoteInput::character, u'x')) << "it has ended";
}

// A program without the device's start has no screen to write: it refuses a screenshot request
// and leaves no file behind; a process that has ended does not answer at all.
TEST_F(CrossProcess, AScreenshotRequestToAProcessWithoutADisplayIsRefused)
{
  StartPeer("Bare Peer");
  HWND peer = WaitForTopLevelWindow(u"KvPeer", nullptr);
  ASSERT_NE(nullptr, peer);
  std::string shot = root.path() + "/peer.png";
  EXPECT_FALSE(user_test::SaveScreenshotInProcessOf(peer, shot));
  EXPECT_FALSE(std::ifstream(shot).good());
  EXPECT_TRUE(PostMessageW(peer, WM_COMMAND, 1, 0));
  EXPECT_EQ(0, WaitForPeer());
  EXPECT_FALSE(user_test::SaveScreenshotInProcessOf(peer, shot));
}

BOOL CollectWindow(HWND window, LPARAM list)
{
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL StopAtFirst(HWND window, LPARAM first)
{
  *reinterpret_cast<HWND*>(first) = window;
  return FALSE;
}

TEST_F(CrossProcess, EnumWindowsListsThisProcessFirstThenTheOthers)
{
  HWND here = CreateRecordingWindow(log, {.name = "here"});
  StartPeer("Listed Peer");
  HWND peer = WaitForTopLevelWindow(nullptr, u"Listed Peer");
  ASSERT_NE(nullptr, peer);

  std::vector<HWND> windows;
  EXPECT_TRUE(EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows)));
  auto hereAt = std::find(windows.begin(), windows.end(), here);
  auto peerAt = std::find(windows.begin(), windows.end(), peer);
  ASSERT_NE(hereAt, windows.end());
  ASSERT_NE(peerAt, windows.end());
  EXPECT_LT(hereAt, peerAt);
  DWORD process = 0;
  GetWindowThreadProcessId(*peerAt, &process);
  EXPECT_EQ(static_cast<DWORD>(peer_), process);

  HWND first = nullptr;
  EXPECT_FALSE(EnumWindows(StopAtFirst, reinterpret_cast<LPARAM>(&first)));
  EXPECT_EQ(windows.front(), first);
  EXPECT_FALSE(EnumWindows(nullptr, 0));
}

TEST_F(CrossProcess, AnEndedProcessLeavesNothingToFind)
{
  StartPeer("Short Lived");
  HWND peer = WaitForTopLevelWindow(nullptr, u"Short Lived");
  ASSERT_NE(nullptr, peer);
  kill(peer_, SIGKILL);  // no chance to clean up
  WaitForPeer();
  EXPECT_FALSE(IsWindow(peer));
  EXPECT_EQ(nullptr, FindWindowW(nullptr, u"Short Lived"));
  EXPECT_FALSE(SetForegroundWindow(peer));
}

// A run of a program that ended is still listed until its parent has seen it end; the test
// harness finds the run started after it, not the one that is gone.
TEST_F(CrossProcess, AttachPassesOverAListedRunThatEnded)
{
  pid_t gone = 0;
  char* trueArgs[] = {const_cast<char*>("/bin/true"), nullptr};
  ASSERT_EQ(0, posix_spawn(&gone, "/bin/true", nullptr, nullptr, trueArgs, environ));
  ASSERT_EQ(gone, waitpid(gone, nullptr, 0));
  // Listed as its parent lists a child it has not yet seen end.
  int entry = device::HoldChildEntry(static_cast<DWORD>(gone), u"\\Program Files\\Tests\\window_peer.exe", u"");
  ASSERT_GE(entry, 0);

  StartPeer("Second Run");
  {
    DeviceProgram program;
    EXPECT_TRUE(program.Attach(u"window_peer.exe", 20000));
    EXPECT_EQ(static_cast<DWORD>(peer_), program.ProcessId());
  }
  device::ReleaseChildEntry(static_cast<DWORD>(gone), entry);
}

}  // namespace
