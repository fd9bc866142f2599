// URLDownloadToFileW: an HTTP exchange performed on the calling thread into a temporary file
// beside the target, which takes the target's name only once the download is complete.
#include "inet/url_download.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "curl_errors.h"
#include "http_exchange.h"
#include "kernel/device_root.h"
#include "kernel/host_error.h"
#include "url_text.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <mutex>
#include <unistd.h>

namespace {

// The binding handed to OnStartBinding: Abort wakes the download wherever it waits.
class Binding final : public IBinding {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override
  {
    if (!object) {
      return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBinding)) {
      AddRef();
      *object = static_cast<IBinding*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override
  {
    ULONG left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  HRESULT Abort() override
  {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    if (multi_) {
      curl_multi_wakeup(multi_);
    }
    return S_OK;
  }
  HRESULT Suspend() override { return E_NOTIMPL; }
  HRESULT Resume() override { return E_NOTIMPL; }
  HRESULT SetPriority(LONG) override { return E_NOTIMPL; }
  HRESULT GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT GetBindResult(CLSID*, DWORD*, LPOLESTR*, DWORD*) override { return E_NOTIMPL; }

  // The multi handle that Abort wakes, while the transfer runs on it.
  void Attach(CURLM* multi)
  {
    std::lock_guard lock(mutex_);
    multi_ = multi;
  }
  bool Aborted() const { return aborted_.load(); }

 private:
  ~Binding() = default;

  std::atomic<ULONG> references_{1};
  std::atomic<bool> aborted_{false};
  std::mutex mutex_;
  CURLM* multi_ = nullptr;
};

// Writes the reply's body into the file and reports progress to the caller's callback.
class FileWriter final : public inet::ExchangeListener {
 public:
  FileWriter(FILE* file, IBindStatusCallback* callback, LPCWSTR url) : file_(file), callback_(callback), url_(url) {}

  void OnReply(const inet::ExchangeReply& reply) override
  {
    status_ = reply.status;
    if (const std::string* length = reply.Find("Content-Length")) {
      std::from_chars(length->data(), length->data() + length->size(), expected_);
    }
    if (Succeeded()) {
      Progress(BINDSTATUS_BEGINDOWNLOADDATA);
    }
  }

  size_t OnBody(const char* data, size_t size) override
  {
    if (!Succeeded() || aborted_) {
      return 0;
    }
    if (std::fwrite(data, 1, size, file_) != size) {
      writeError_ = device::ErrorFromErrno(errno);
      return 0;
    }
    received_ += static_cast<ULONG>(size);
    return Progress(BINDSTATUS_DOWNLOADINGDATA) ? size : 0;
  }

  // False once the callback asked to abort.
  bool Progress(ULONG status)
  {
    if (callback_ && callback_->OnProgress(received_, expected_, status, url_) == E_ABORT) {
      aborted_ = true;
    }
    return !aborted_;
  }

  bool Succeeded() const { return status_ >= 200 && status_ < 300; }
  long status() const { return status_; }
  bool aborted() const { return aborted_; }
  DWORD writeError() const { return writeError_; }

 private:
  FILE* file_;
  IBindStatusCallback* callback_;
  LPCWSTR url_;
  long status_ = 0;
  ULONG expected_ = 0;
  ULONG received_ = 0;
  bool aborted_ = false;
  DWORD writeError_ = ERROR_SUCCESS;
};

// Runs the exchange's hops on a multi handle of its own, so that Abort can wake it.
HRESULT Transfer(inet::HttpExchange& exchange, FileWriter& writer, Binding& binding)
{
  CURLM* multi = curl_multi_init();
  if (!multi) {
    return E_OUTOFMEMORY;
  }
  binding.Attach(multi);
  CURL* easy = exchange.StartHop();
  bool done = !easy || curl_multi_add_handle(multi, easy) != CURLM_OK;
  while (!done && !binding.Aborted() && !writer.aborted()) {
    int running = 0;
    curl_multi_perform(multi, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
      if (message->msg == CURLMSG_DONE) {
        CURLcode result = message->data.result;
        curl_multi_remove_handle(multi, easy);
        easy = exchange.EndHop(result) ? exchange.StartHop() : nullptr;
        done = !easy || curl_multi_add_handle(multi, easy) != CURLM_OK;
        break;
      }
    }
    if (!done) {
      curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
  }
  if (exchange.easy()) {
    curl_multi_remove_handle(multi, exchange.easy());
  }
  binding.Attach(nullptr);
  curl_multi_cleanup(multi);

  if (binding.Aborted() || writer.aborted()) {
    return E_ABORT;
  }
  if (writer.writeError() != ERROR_SUCCESS) {
    return HRESULT_FROM_WIN32(writer.writeError());
  }
  if (writer.status() == 404) {
    return INET_E_RESOURCE_NOT_FOUND;
  }
  if (writer.status() != 0 && !writer.Succeeded()) {
    return INET_E_DOWNLOAD_FAILURE;
  }
  if (exchange.error() != ERROR_SUCCESS || writer.status() == 0) {
    return inet::DownloadResultOf(exchange.error());
  }
  writer.Progress(BINDSTATUS_ENDDOWNLOADDATA);
  return S_OK;
}

HRESULT Download(const std::string& url, const std::string& target, LPCWSTR deviceUrl, IBindStatusCallback* callback,
                 Binding& binding)
{
  if (callback && FAILED(callback->OnStartBinding(0, &binding))) {
    return E_ABORT;
  }
  std::string temporary = target + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) {
    return HRESULT_FROM_WIN32(device::ErrorFromErrno(errno));
  }
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(temporary.c_str());
    return E_OUTOFMEMORY;
  }
  FileWriter writer(file, callback, deviceUrl);
  inet::ExchangeRequest request;
  request.url = url;
  inet::HttpExchange exchange(std::move(request), writer);
  if (callback && callback->OnProgress(0, 0, BINDSTATUS_CONNECTING, deviceUrl) == E_ABORT) {
    binding.Abort();
  }
  HRESULT result = binding.Aborted() ? E_ABORT : Transfer(exchange, writer, binding);
  if (std::fclose(file) != 0 && SUCCEEDED(result)) {
    result = HRESULT_FROM_WIN32(device::ErrorFromErrno(errno));
  }
  if (SUCCEEDED(result) && std::rename(temporary.c_str(), target.c_str()) != 0) {
    result = HRESULT_FROM_WIN32(device::ErrorFromErrno(errno));
  }
  if (FAILED(result)) {
    unlink(temporary.c_str());
  }
  return result;
}

}  // namespace

HRESULT URLDownloadToFileW(LPUNKNOWN, LPCWSTR szURL, LPCWSTR szFileName, DWORD dwReserved, LPBINDSTATUSCALLBACK lpfnCB)
{
  if (!szURL || !szFileName || dwReserved != 0) {
    return E_INVALIDARG;
  }
  std::optional<std::string> url = inet::UrlFromDeviceText(szURL);
  if (!url) {
    return INET_E_INVALID_URL;
  }
  if (!inet::ParseHttpUrl(*url)) {
    return url->find("://") != std::string::npos ? INET_E_UNKNOWN_PROTOCOL : INET_E_INVALID_URL;
  }
  std::optional<device::MappedPath> path = device::MapPath(szFileName);
  if (!path) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  if (!path->parentExists) {
    return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  }
  if (lpfnCB) {
    lpfnCB->AddRef();
  }
  auto* binding = new Binding;
  HRESULT result = Download(*url, path->host, szURL, lpfnCB, *binding);
  if (lpfnCB) {
    lpfnCB->OnStopBinding(result, nullptr);
    lpfnCB->Release();
  }
  binding->Release();
  return result;
}
