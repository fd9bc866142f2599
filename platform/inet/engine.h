// The library thread of one internet handle: a libcurl multi handle that runs its transfers,
// with the handle's own pool of kept-alive connections. Every libcurl call on the multi handle
// and its transfers happens on this thread; other threads hand it commands.
#pragma once

#include <curl/curl.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace inet {

// A transfer the engine runs; it hears on the engine thread when libcurl has finished it.
class EngineTransfer {
 public:
  virtual ~EngineTransfer() = default;
  virtual void OnDone(CURLcode result) = 0;
};

class Engine {
 public:
  // Starts the thread; null when libcurl or the thread cannot be had.
  static std::shared_ptr<Engine> Start();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Runs the command on the engine thread, after the commands posted before it. Commands
  // posted after Stop are dropped.
  void Post(std::function<void()> command);
  // Ends the thread once the commands posted before have run; transfers still running are
  // dropped. Waits for the thread unless called on it.
  void Stop();

  // Engine thread only: performs the transfer's handle until libcurl is done with it, keeping
  // the transfer alive till then; Remove takes it out before that.
  void Add(CURL* easy, std::shared_ptr<EngineTransfer> transfer);
  void Remove(CURL* easy);

 private:
  Engine() = default;
  static void Run(std::shared_ptr<Engine> self);
  bool RunCommands();
  void Reap();

  CURLM* multi_ = nullptr;
  std::thread thread_;
  std::map<CURL*, std::shared_ptr<EngineTransfer>> transfers_;

  std::mutex mutex_;
  std::vector<std::function<void()>> commands_;
  bool stopping_ = false;
};

}  // namespace inet
