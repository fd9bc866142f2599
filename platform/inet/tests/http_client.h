// Helpers for the HTTP layer's tests: a device root with its settings, and a client that
// drives the asynchronous calls as the device's programs do, recording every callback.
#pragma once

#include "inet/inet.h"
#include "kernel/kernel.h"
#include "testing/device_settings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace inet_test {

constexpr DWORD kGenerousWait = 30000;

using device::testing::DeviceWithSettings;

struct Callback {
  HINTERNET handle;
  DWORD status;
  INTERNET_ASYNC_RESULT result;  // for INTERNET_STATUS_REQUEST_COMPLETE
  DWORD thread;
};

// An asynchronous root handle whose status callback records every call and signals each
// completion. Its requests carry the client as their context.
class TestClient {
 public:
  explicit TestClient(LPCWSTR proxy = nullptr)
  {
    completed_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    internet_ = InternetOpenW(u"zunmobile", proxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT, proxy, nullptr,
                              INTERNET_FLAG_ASYNC);
    EXPECT_NE(internet_, nullptr) << GetLastError();
    InternetSetStatusCallbackW(internet_, &TestClient::Record);
  }
  ~TestClient()
  {
    if (internet_) {
      InternetCloseHandle(internet_);
    }
    CloseHandle(completed_);
  }
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  HINTERNET internet() const { return internet_; }
  HANDLE completedEvent() const { return completed_; }
  void ForgetRoot() { internet_ = nullptr; }

  // Opens a request on a new connection to 127.0.0.1:port and sends it; the send must pend.
  HINTERNET Send(INTERNET_PORT port, const char16_t* path, const std::string& body = {}, DWORD flags = 0,
                 const char16_t* verb = u"POST")
  {
    HINTERNET connection = InternetConnectW(internet_, u"127.0.0.1", port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    EXPECT_NE(connection, nullptr) << GetLastError();
    HINTERNET request = HttpOpenRequestW(connection, verb, path, u"HTTP/1.1", nullptr, nullptr,
                                         INTERNET_FLAG_NO_CACHE_WRITE | flags, reinterpret_cast<DWORD_PTR>(this));
    EXPECT_NE(request, nullptr) << GetLastError();
    SendOn(request, body);
    return request;
  }

  void SendOn(HINTERNET request, const std::string& body)
  {
    static const char kHeaders[] = "Content-Type: application/x-www-form-urlencoded\r\n";
    BOOL sent = HttpSendRequestA(request, kHeaders, sizeof kHeaders - 1, body.empty() ? nullptr : const_cast<char*>(body.data()),
                                 static_cast<DWORD>(body.size()));
    EXPECT_FALSE(sent);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
  }

  // The next completion, waiting for it with a generous bound.
  INTERNET_ASYNC_RESULT WaitForCompletion()
  {
    for (;;) {
      {
        std::lock_guard lock(mutex_);
        if (!completions_.empty()) {
          INTERNET_ASYNC_RESULT result = completions_.front();
          completions_.pop_front();
          return result;
        }
      }
      if (WaitForSingleObject(completed_, kGenerousWait) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "no completion came";
        return {FALSE, ERROR_TIMEOUT};
      }
    }
  }

  // Reads the whole reply through pending reads, in chunks of the given size.
  std::string ReadAll(HINTERNET request, DWORD chunk = 1024)
  {
    std::string body;
    std::vector<char> buffer(chunk);
    for (;;) {
      INTERNET_BUFFERSA buffers{};
      buffers.dwStructSize = sizeof buffers;
      buffers.lpvBuffer = buffer.data();
      buffers.dwBufferLength = chunk;
      if (!InternetReadFileExA(request, &buffers, IRF_ASYNC, reinterpret_cast<DWORD_PTR>(this))) {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
        if (GetLastError() != ERROR_IO_PENDING || !WaitForCompletion().dwResult) {
          return body;
        }
      }
      if (buffers.dwBufferLength == 0) {
        return body;
      }
      body.append(buffer.data(), buffers.dwBufferLength);
    }
  }

  // A header as text, or "" with the query's error.
  std::u16string Query(HINTERNET request, DWORD level, DWORD* error = nullptr)
  {
    WCHAR text[512] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, level, text, &size, nullptr)) {
      if (error) {
        *error = GetLastError();
      }
      return {};
    }
    return std::u16string(text, size / sizeof(WCHAR));
  }

  // Callbacks that came for a handle after it was closed (see Closed).
  int lateCallbacks() const { return late_.load(); }
  void Closed(HINTERNET request)
  {
    std::lock_guard lock(mutex_);
    closed_.push_back(request);
  }
  std::vector<Callback> callbacks()
  {
    std::lock_guard lock(mutex_);
    return callbacks_;
  }

 private:
  static void CALLBACK Record(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID information, DWORD length)
  {
    auto* client = reinterpret_cast<TestClient*>(context);
    std::lock_guard lock(client->mutex_);
    Callback call{handle, status, {}, GetCurrentThreadId()};
    for (HINTERNET closed : client->closed_) {
      if (closed == handle) {
        ++client->late_;
      }
    }
    if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
      EXPECT_EQ(length, sizeof(INTERNET_ASYNC_RESULT));
      call.result = *static_cast<INTERNET_ASYNC_RESULT*>(information);
      client->completions_.push_back(call.result);
      SetEvent(client->completed_);
    }
    client->callbacks_.push_back(call);
  }

  HINTERNET internet_ = nullptr;
  HANDLE completed_ = nullptr;
  std::mutex mutex_;
  std::deque<INTERNET_ASYNC_RESULT> completions_;
  std::vector<Callback> callbacks_;
  std::vector<HINTERNET> closed_;
  std::atomic<int> late_{0};
};

}  // namespace inet_test
