// Fetching a page through the device's HTTP layer (its cookies, its TLS checks, its time
// limits). The layer works asynchronously: its completions are posted to a window of the
// browser's thread as `message` with the fetch step's number, and the browser calls Continue
// with it there. Redirects are followed here, hop by hop, so that the URL reached is known. The
// body sent (a form, which may hold a password) is wiped once the fetch has ended.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "base/types.h"
#include "inet/http_request.h"

namespace kv::html {

struct FetchRequest {
  std::u16string url;     // absolute http or https
  std::string method = "GET";
  std::string body;
  std::string headers;    // "Name: value" lines, each ended by CR LF
  size_t maxBody = 4u << 20;  // a longer reply fails
};

struct FetchResult {
  bool ok = false;
  // The HTTP status (200...); for a failure without a reply the INET_E_* result.
  LONG status = 0;
  std::u16string url;     // reached after redirects
  std::string contentType;
  std::string body;
};

class PageFetch {
 public:
  static constexpr int kMaxRedirects = 10;

  PageFetch(HWND window, UINT message);
  ~PageFetch();
  PageFetch(const PageFetch&) = delete;
  PageFetch& operator=(const PageFetch&) = delete;

  // Starts a fetch, dropping one under way. Its end comes through Continue, failures included.
  void Start(FetchRequest request);
  // Drops the fetch under way; nothing more is heard of it.
  void Abort();
  bool Busy() const { return state_ != State::Idle; }
  // For the completion message: the result once the fetch has ended, else nothing (also for a
  // message of a dropped fetch).
  std::optional<FetchResult> Continue(WPARAM step);

 private:
  enum class State { Idle, Sending, Reading, Failed };
  struct Completion;

  static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID information,
                                      DWORD length);
  void StartHop();
  void CloseHop();
  // Fails the fetch at once, reported through the completion message like any end.
  void FailSoon(LONG status);
  FetchResult Fail(LONG status);
  FetchResult Finish();
  std::optional<FetchResult> Received();
  std::optional<FetchResult> Read();
  std::optional<std::u16string> Header(DWORD query);

  HWND window_;
  UINT message_;
  HINTERNET internet_ = nullptr;
  HINTERNET connection_ = nullptr;
  HINTERNET request_ = nullptr;
  std::unique_ptr<Completion> completion_;
  WPARAM step_ = 0;
  State state_ = State::Idle;
  LONG failure_ = 0;
  FetchRequest hop_;
  int redirects_ = 0;
  std::string body_;
  std::string contentType_;
  LONG status_ = 0;
  INTERNET_BUFFERSA buffers_{};
  std::string chunk_;
};

}  // namespace kv::html
