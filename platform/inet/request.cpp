#include "request.h"

#include "base/errors.h"
#include "base/lasterror.h"

#include <algorithm>
#include <cstring>

namespace inet {

Request::Request(std::shared_ptr<ServerConnection> connection, ExchangeRequest exchange, DWORD_PTR context)
    : InternetObject(context, connection->callback()),
      connection_(std::move(connection)),
      engine_(connection_->session->engine),
      request_(std::move(exchange))
{
}

// The exchange frees its transfer; the engine no longer holds it, or the request would live.
Request::~Request() = default;

BOOL Request::SetIgnoredCertificateErrors(DWORD flags)
{
  std::lock_guard lock(data_);
  if (phase_ != Phase::Open) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return FALSE;
  }
  request_.ignoredCertificateErrors = flags;
  return TRUE;
}

BOOL Request::Send(std::vector<std::string> headers, std::string body)
{
  std::lock_guard lock(data_);
  if (phase_ != Phase::Open) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return FALSE;
  }
  request_.headers.insert(request_.headers.end(), headers.begin(), headers.end());
  request_.body = std::move(body);
  phase_ = Phase::Sending;
  engine_->Post([self = std::static_pointer_cast<Request>(shared_from_this())] { self->Begin(); });
  SetLastError(ERROR_IO_PENDING);
  return FALSE;
}

BOOL Request::Read(INTERNET_BUFFERSA& buffers)
{
  if (buffers.dwStructSize != sizeof(INTERNET_BUFFERSA) || !buffers.lpvBuffer || buffers.dwBufferLength == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(data_);
  if (phase_ == Phase::Open || phase_ == Phase::Sending || pendingRead_) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return FALSE;
  }
  if (Buffered() > 0) {
    TakeBody(buffers);
    return TRUE;
  }
  if (phase_ == Phase::Complete) {
    buffers.dwBufferLength = 0;
    return TRUE;
  }
  if (phase_ == Phase::Failed) {
    SetLastError(error_);
    return FALSE;
  }
  pendingRead_ = &buffers;
  SetLastError(ERROR_IO_PENDING);
  return FALSE;
}

const ExchangeReply* Request::Reply()
{
  std::lock_guard lock(data_);
  if (!replied_) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return nullptr;
  }
  return &reply_;
}

void Request::OnClose()
{
  {
    std::lock_guard gate(gate_);
    closed_ = true;
  }
  {
    std::lock_guard lock(data_);
    pendingRead_ = nullptr;
  }
  engine_->Post([self = std::static_pointer_cast<Request>(shared_from_this())] { self->Abort(); });
}

void Request::Begin()
{
  {
    std::lock_guard gate(gate_);
    if (closed_) {
      return;
    }
  }
  exchange_ = std::make_unique<HttpExchange>(request_, static_cast<ExchangeListener&>(*this));
  CURL* easy = exchange_->StartHop();
  if (!easy) {
    CompleteSend(false, exchange_->error());
    return;
  }
  engine_->Add(easy, std::static_pointer_cast<Request>(shared_from_this()));
}

void Request::Abort()
{
  if (exchange_ && exchange_->easy()) {
    engine_->Remove(exchange_->easy());
  }
  exchange_.reset();
}

void Request::Resume()
{
  {
    std::lock_guard lock(data_);
    resumePosted_ = false;
    if (!paused_) {
      return;
    }
    paused_ = false;
  }
  if (exchange_ && exchange_->easy()) {
    curl_easy_pause(exchange_->easy(), CURLPAUSE_CONT);
  }
}

void Request::OnDone(CURLcode result)
{
  if (exchange_->EndHop(result)) {
    if (CURL* easy = exchange_->StartHop()) {
      engine_->Add(easy, std::static_pointer_cast<Request>(shared_from_this()));
      return;
    }
  }
  DWORD error = exchange_->error();
  bool replied;
  {
    std::lock_guard lock(data_);
    replied = replied_;
    if (replied) {
      phase_ = error == ERROR_SUCCESS ? Phase::Complete : Phase::Failed;
      error_ = error;
    }
  }
  if (replied) {
    CompleteRead();
  } else {
    CompleteSend(false, error == ERROR_SUCCESS ? ERROR_INTERNET_INVALID_SERVER_RESPONSE : error);
  }
}

void Request::OnReply(const ExchangeReply& reply)
{
  {
    std::lock_guard lock(data_);
    reply_ = reply;
    replied_ = true;
    phase_ = Phase::Receiving;
  }
  CompleteSend(true, ERROR_SUCCESS);
}

size_t Request::OnBody(const char* data, size_t size)
{
  {
    std::lock_guard lock(data_);
    if (Buffered() >= kBodyLimit) {
      paused_ = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    if (bodyRead_ > 0) {
      body_.erase(0, bodyRead_);
      bodyRead_ = 0;
    }
    body_.append(data, size);
  }
  CompleteRead();
  return size;
}

void Request::CompleteSend(bool ok, DWORD error)
{
  if (!ok) {
    std::lock_guard lock(data_);
    phase_ = Phase::Failed;
    error_ = error;
  }
  INTERNET_ASYNC_RESULT result{static_cast<DWORD_PTR>(ok ? TRUE : FALSE), ok ? ERROR_SUCCESS : error};
  std::lock_guard gate(gate_);
  if (!closed_) {
    Notify(INTERNET_STATUS_REQUEST_COMPLETE, &result, sizeof result);
  }
}

// Fills a pending read from the body, or ends it at the end of the reply or after a failure.
void Request::CompleteRead()
{
  std::lock_guard gate(gate_);
  if (closed_) {
    return;
  }
  INTERNET_ASYNC_RESULT result{TRUE, ERROR_SUCCESS};
  DWORD received = 0;
  {
    std::lock_guard lock(data_);
    if (!pendingRead_) {
      return;
    }
    if (Buffered() > 0) {
      received = TakeBody(*pendingRead_);
    } else if (phase_ == Phase::Complete) {
      pendingRead_->dwBufferLength = 0;
    } else if (phase_ == Phase::Failed) {
      pendingRead_->dwBufferLength = 0;
      result = {FALSE, error_};
    } else {
      return;
    }
    pendingRead_ = nullptr;
  }
  if (received > 0) {
    Notify(INTERNET_STATUS_RESPONSE_RECEIVED, &received, sizeof received);
  }
  Notify(INTERNET_STATUS_REQUEST_COMPLETE, &result, sizeof result);
}

DWORD Request::TakeBody(INTERNET_BUFFERSA& buffers)
{
  size_t count = std::min<size_t>(Buffered(), buffers.dwBufferLength);
  std::memcpy(buffers.lpvBuffer, body_.data() + bodyRead_, count);
  bodyRead_ += count;
  buffers.dwBufferLength = static_cast<DWORD>(count);
  if (paused_ && !resumePosted_ && Buffered() < kBodyLimit / 2) {
    resumePosted_ = true;
    engine_->Post([self = std::static_pointer_cast<Request>(shared_from_this())] { self->Resume(); });
  }
  return buffers.dwBufferLength;
}

void Request::Notify(DWORD status, void* information, DWORD length)
{
  INTERNET_STATUS_CALLBACK callback = this->callback();
  if (callback && callback != INTERNET_INVALID_STATUS_CALLBACK && context() != 0) {
    callback(handle(), context(), status, information, length);
  }
}

}  // namespace inet
