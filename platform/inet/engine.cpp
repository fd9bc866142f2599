#include "engine.h"

#include "http_exchange.h"

namespace inet {

// How long the thread sleeps with nothing to do; commands and libcurl's timers wake it sooner.
constexpr int kIdleWaitMs = 10000;

std::shared_ptr<Engine> Engine::Start()
{
  InitialiseCurl();
  std::shared_ptr<Engine> engine(new Engine);
  engine->multi_ = curl_multi_init();
  if (!engine->multi_) {
    return nullptr;
  }
  try {
    engine->thread_ = std::thread(&Engine::Run, engine);
  } catch (const std::system_error&) {
    return nullptr;
  }
  return engine;
}

Engine::~Engine()
{
  // The thread holds the engine while it runs, so by now it has left Run; it may be this very
  // thread, dropping the last reference on its way out.
  if (thread_.joinable()) {
    thread_.detach();
  }
  if (multi_) {
    curl_multi_cleanup(multi_);
  }
}

void Engine::Post(std::function<void()> command)
{
  std::lock_guard lock(mutex_);
  if (stopping_) {
    return;
  }
  commands_.push_back(std::move(command));
  curl_multi_wakeup(multi_);
}

void Engine::Stop()
{
  {
    std::lock_guard lock(mutex_);
    if (stopping_) {
      return;
    }
    stopping_ = true;
    curl_multi_wakeup(multi_);
  }
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else if (thread_.joinable()) {
    thread_.join();
  }
}

void Engine::Add(CURL* easy, std::shared_ptr<EngineTransfer> transfer)
{
  if (curl_multi_add_handle(multi_, easy) != CURLM_OK) {
    transfer->OnDone(CURLE_FAILED_INIT);
    return;
  }
  transfers_[easy] = std::move(transfer);
}

void Engine::Remove(CURL* easy)
{
  if (transfers_.erase(easy) != 0) {
    curl_multi_remove_handle(multi_, easy);
  }
}

void Engine::Run(std::shared_ptr<Engine> self)
{
  while (self->RunCommands()) {
    int running = 0;
    curl_multi_perform(self->multi_, &running);
    self->Reap();
    curl_multi_poll(self->multi_, nullptr, 0, kIdleWaitMs, nullptr);
  }
  for (auto& [easy, transfer] : self->transfers_) {
    curl_multi_remove_handle(self->multi_, easy);
  }
  self->transfers_.clear();
}

// Runs the queued commands; false once the engine is stopping.
bool Engine::RunCommands()
{
  std::vector<std::function<void()>> commands;
  bool stopping;
  {
    std::lock_guard lock(mutex_);
    commands.swap(commands_);
    stopping = stopping_;
  }
  for (std::function<void()>& command : commands) {
    command();
  }
  return !stopping;
}

void Engine::Reap()
{
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg != CURLMSG_DONE) {
      continue;
    }
    CURL* easy = message->easy_handle;
    CURLcode result = message->data.result;
    auto found = transfers_.find(easy);
    if (found == transfers_.end()) {
      continue;
    }
    std::shared_ptr<EngineTransfer> transfer = std::move(found->second);
    transfers_.erase(found);
    curl_multi_remove_handle(multi_, easy);
    transfer->OnDone(result);
  }
}

}  // namespace inet
