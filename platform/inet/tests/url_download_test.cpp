// URL downloads into the device's files: complete files only, status failures, and aborts
// from another thread through the binding or from the progress callback.
#include "http_client.h"

#include "testgateway/test_gateway.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

using inet_test::DeviceWithSettings;
using testgateway::Reply;
using testgateway::TestGateway;

// Records the callback's calls; hands the binding over and can ask for an abort.
class Progress final : public IBindStatusCallback {
 public:
  Progress() { started_ = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
  ~Progress()
  {
    if (binding_) {
      binding_->Release();
    }
    CloseHandle(started_);
  }

  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }

  HRESULT OnStartBinding(DWORD, IBinding* binding) override
  {
    binding->AddRef();
    binding_ = binding;
    SetEvent(started_);
    return S_OK;
  }
  HRESULT GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT OnLowResource(DWORD) override { return E_NOTIMPL; }
  HRESULT OnProgress(ULONG progress, ULONG, ULONG status, LPCWSTR) override
  {
    statuses.push_back(status);
    lastProgress = progress;
    return status == abortOn ? E_ABORT : S_OK;
  }
  HRESULT OnStopBinding(HRESULT result, LPCWSTR) override
  {
    stopResult = result;
    return S_OK;
  }
  HRESULT GetBindInfo(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
  HRESULT OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }

  HANDLE started() const { return started_; }
  IBinding* binding() const { return binding_; }
  ULONG references() const { return references_; }

  std::vector<ULONG> statuses;
  ULONG lastProgress = 0;
  ULONG abortOn = 0;
  HRESULT stopResult = 1;

 private:
  std::atomic<ULONG> references_{1};
  HANDLE started_;
  IBinding* binding_ = nullptr;
};

class UrlDownload : public ::testing::Test {
 protected:
  void SetUp() override
  {
    std::filesystem::create_directories(device_.Host("Windows"));
    gateway_.servePage("/KorvexPortal.CAB", Reply::http(200, std::string(100000, 'c'), "application/octet-stream"));
    gateway_.servePage("/stall", Reply::stall(Reply::http(200, "late")));
    gateway_.start();
  }
  std::u16string Url(const std::string& path) const
  {
    std::string url = gateway_.httpUrl() + path;
    return std::u16string(url.begin(), url.end());
  }
  std::string Target() const
  {
    std::ifstream in(device_.Host("Windows/KorvexPortal.CAB"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  size_t FilesInFolder() const
  {
    return std::distance(std::filesystem::directory_iterator(device_.Host("Windows")), {});
  }

  DeviceWithSettings device_;
  TestGateway gateway_;
};

TEST_F(UrlDownload, WritesTheFileAndReportsProgress)
{
  Progress progress;
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/KorvexPortal.CAB").c_str(), u"\\Windows\\KorvexPortal.CAB", 0, &progress),
            S_OK);
  EXPECT_EQ(Target(), std::string(100000, 'c'));
  EXPECT_EQ(FilesInFolder(), 1u);
  EXPECT_EQ(progress.stopResult, S_OK);
  EXPECT_EQ(progress.lastProgress, 100000u);
  ASSERT_GE(progress.statuses.size(), 4u);
  EXPECT_EQ(progress.statuses.front(), static_cast<ULONG>(BINDSTATUS_CONNECTING));
  EXPECT_EQ(progress.statuses[1], static_cast<ULONG>(BINDSTATUS_BEGINDOWNLOADDATA));
  EXPECT_EQ(progress.statuses.back(), static_cast<ULONG>(BINDSTATUS_ENDDOWNLOADDATA));

  // Without a callback, and over an existing file.
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/KorvexPortal.CAB").c_str(), u"\\windows\\korvexportal.cab", 0, nullptr),
            S_OK);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(UrlDownload, AFailedDownloadLeavesNoFileAndAnOldOneAlone)
{
  std::ofstream(device_.Host("Windows/KorvexPortal.CAB")) << "old";
  struct Case {
    std::string url;
    const char16_t* file;
    HRESULT result;
  } cases[] = {
      {"/missing", u"\\Windows\\KorvexPortal.CAB", INET_E_RESOURCE_NOT_FOUND},
      {"/KorvexPortal.CAB", u"\\NoFolder\\KorvexPortal.CAB", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(URLDownloadToFileW(nullptr, Url(c.url).c_str(), c.file, 0, nullptr), c.result) << c.url;
  }
  EXPECT_EQ(URLDownloadToFileW(nullptr, u"ftp://127.0.0.1/x", u"\\Windows\\x", 0, nullptr), INET_E_UNKNOWN_PROTOCOL);
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/x").c_str(), u"\\Windows\\x", 1, nullptr), E_INVALIDARG);

  INTERNET_PORT closedPort = gateway_.httpPort();
  gateway_.stop();
  std::string refused = "http://127.0.0.1:" + std::to_string(closedPort) + "/KorvexPortal.CAB";
  EXPECT_EQ(URLDownloadToFileW(nullptr, std::u16string(refused.begin(), refused.end()).c_str(),
                               u"\\Windows\\KorvexPortal.CAB", 0, nullptr),
            INET_E_CANNOT_CONNECT);
  EXPECT_EQ(Target(), "old");
  EXPECT_EQ(FilesInFolder(), 1u);
}

struct Download {
  std::u16string url;
  Progress* progress;
  HRESULT result = S_FALSE;
};

DWORD WINAPI RunDownload(LPVOID parameter)
{
  auto* download = static_cast<Download*>(parameter);
  download->result =
      URLDownloadToFileW(nullptr, download->url.c_str(), u"\\Windows\\KorvexPortal.CAB", 0, download->progress);
  return 0;
}

TEST_F(UrlDownload, AnotherThreadAbortsThroughTheBinding)
{
  Progress progress;
  Download download{Url("/stall"), &progress};
  HANDLE thread = CreateThread(nullptr, 0, RunDownload, &download, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(progress.started(), inet_test::kGenerousWait), WAIT_OBJECT_0);
  ASSERT_TRUE(gateway_.waitForPath("/stall"));
  EXPECT_EQ(progress.binding()->Abort(), S_OK);
  ASSERT_EQ(WaitForSingleObject(thread, inet_test::kGenerousWait), WAIT_OBJECT_0);
  CloseHandle(thread);

  EXPECT_EQ(download.result, E_ABORT);
  EXPECT_EQ(progress.stopResult, E_ABORT);
  EXPECT_EQ(FilesInFolder(), 0u);
  EXPECT_TRUE(gateway_.waitForAbandoned(1));
  EXPECT_EQ(progress.references(), 1u);  // the download let go of the callback
}

TEST_F(UrlDownload, TheProgressCallbackAborts)
{
  Progress progress;
  progress.abortOn = BINDSTATUS_DOWNLOADINGDATA;
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/KorvexPortal.CAB").c_str(), u"\\Windows\\KorvexPortal.CAB", 0, &progress),
            E_ABORT);
  EXPECT_EQ(progress.statuses.back(), static_cast<ULONG>(BINDSTATUS_DOWNLOADINGDATA));
  EXPECT_EQ(FilesInFolder(), 0u);
}

}  // namespace
