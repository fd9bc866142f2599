// A request handle: one HTTP exchange run on its session's library thread, with the
// asynchronous contract of the device's HTTP calls.
//
// The caller's thread sends, reads and queries; the library thread runs the exchange, keeps the
// reply's body until it is read, and reports completions through the status callback. Two
// locks keep them apart: `gate_` is held while the library thread writes into a caller's read
// buffer or calls the callback, and closing takes it, so neither happens once a close has
// returned; `data_` guards the reply and the body. The gate is always taken before the data.
#pragma once

#include "http_exchange.h"
#include "inet/http_request.h"
#include "internet_object.h"

#include <memory>
#include <mutex>
#include <string>

namespace inet {

class Request final : public InternetObject, public EngineTransfer, private ExchangeListener {
 public:
  Request(std::shared_ptr<ServerConnection> connection, ExchangeRequest exchange, DWORD_PTR context);
  ~Request() override;

  // Before the send only; ERROR_INTERNET_INCORRECT_HANDLE_STATE afterwards.
  BOOL SetIgnoredCertificateErrors(DWORD flags);

  // HttpSendRequest: FALSE with ERROR_IO_PENDING once the send is under way.
  BOOL Send(std::vector<std::string> headers, std::string body);
  // InternetReadFileExA.
  BOOL Read(INTERNET_BUFFERSA& buffers);
  // The final reply's headers, or null with ERROR_INTERNET_INCORRECT_HANDLE_STATE before they
  // are in. The pointer stays valid while the request lives.
  const ExchangeReply* Reply();

 protected:
  void OnClose() override;

 private:
  enum class Phase { Open, Sending, Receiving, Complete, Failed };
  // The reply's body waiting to be read is capped; the transfer pauses while it is full.
  static constexpr size_t kBodyLimit = 256 * 1024;

  // Library thread.
  void Begin();
  void Abort();
  void Resume();
  void OnDone(CURLcode result) override;
  void OnReply(const ExchangeReply& reply) override;
  size_t OnBody(const char* data, size_t size) override;
  void CompleteSend(bool ok, DWORD error);
  void CompleteRead();
  void Notify(DWORD status, void* information, DWORD length);

  // Under data_.
  size_t Buffered() const { return body_.size() - bodyRead_; }
  DWORD TakeBody(INTERNET_BUFFERSA& buffers);

  const std::shared_ptr<ServerConnection> connection_;
  const std::shared_ptr<Engine> engine_;
  ExchangeRequest request_;
  std::unique_ptr<HttpExchange> exchange_;  // library thread

  std::recursive_mutex gate_;
  bool closed_ = false;

  std::mutex data_;
  Phase phase_ = Phase::Open;
  DWORD error_ = 0;
  bool replied_ = false;
  ExchangeReply reply_;
  std::string body_;
  size_t bodyRead_ = 0;
  INTERNET_BUFFERSA* pendingRead_ = nullptr;
  bool paused_ = false;
  bool resumePosted_ = false;
};

}  // namespace inet
