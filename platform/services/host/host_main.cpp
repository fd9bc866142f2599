// The device's service host program:
//   korvex-services [service ...]
// runs in the device root that KORVEX_DEVICE_ROOT names (one host a device) and starts the
// services named on its command line (keys under HKEY_LOCAL_MACHINE\Services). When every one
// started it writes "ready" on standard output and then answers the device's service calls until
// SIGTERM, SIGINT or SIGHUP, when it stops every service and ends with 0. When one did not start
// it says on standard error which and why ("korvex-services: Dovrel did not start: port 8088 is
// in use (error 10048)"), stops those that did and ends with 1 without "ready", as it does when
// another host runs on the device. It has no screen: message boxes go to standard error and take
// their default buttons.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include "internal/msgbox/message_box_hooks.h"
#include "kernel/device_root.h"
#include "service_host.h"
#include "services/host_protocol.h"
#include "start_failure.h"

namespace {

// How long one caller may take to send its request or read the answer.
constexpr int kCallTimeoutSeconds = 5;

int g_signalled = -1;  // the write end of the pipe that tells the main loop to end

void OnEndingSignal(int)
{
  char signalled = 1;
  ssize_t written = write(g_signalled, &signalled, 1);
  (void)written;
}

// The read end of a pipe written when a signal ends the host. A handler rather than a blocked
// mask, so that the programs the services start inherit no blocked signals.
int EndingSignals()
{
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    return -1;
  }
  g_signalled = ends[1];
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    sigaction(signal, &action, nullptr);
  }
  return ends[0];
}

void AnswerCall(services::ServiceHost& host, int listener)
{
  int caller = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (caller < 0) {
    return;
  }
  timeval timeout{kCallTimeoutSeconds, 0};
  setsockopt(caller, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(caller, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  std::vector<uint8_t> request;
  if (services::ReadMessage(caller, &request)) {
    services::WriteMessage(caller, host.Answer(request));
  }
  close(caller);
}

}  // namespace

int main(int argc, char** argv)
{
  int signals = EndingSignals();
  msgbox::SetScreenless();
  int listener = services::ListenAsHost();
  if (signals < 0 || listener < 0) {
    std::fprintf(stderr, "korvex-services: %s\n",
                 errno == EADDRINUSE ? "a service host already runs on this device" : std::strerror(errno));
    return 1;
  }
  services::ServiceHost host;
  bool allStarted = true;
  for (int i = 1; i < argc; ++i) {
    uint64_t instance = 0;
    std::u16string name = device::FromHost(argv[i]).value_or(u"");
    if (DWORD error = host.Activate(name, &instance); error != 0) {
      std::fprintf(stderr, "korvex-services: %s did not start: %s\n", argv[i],
                   services::StartFailure(name, error).c_str());
      allStarted = false;
    }
  }
  if (!allStarted) {
    host.StopAll();
    close(listener);
    close(signals);
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);

  pollfd watched[] = {{listener, POLLIN, 0}, {signals, POLLIN, 0}};
  for (;;) {
    if (poll(watched, 2, -1) < 0 && errno != EINTR) {
      break;
    }
    if (watched[1].revents != 0) {
      break;
    }
    if (watched[0].revents != 0) {
      AnswerCall(host, listener);
    }
  }
  host.StopAll();
  close(listener);
  close(signals);
  return 0;
}
