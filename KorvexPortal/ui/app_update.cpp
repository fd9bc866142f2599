// The update check through the facade's "update" operation, the download of the package into the
// program folder and the start of the package installer, which replaces the running client.
#include "app_services.h"

#include <memory>

#include "facade_answer.h"
#include "kernel/file_system.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "module_helpers.h"
#include "payment_service.h"
#include "resource_values.h"
#include "service_results.h"
#include "shell/shell_execute.h"
#include "update_download.h"

namespace {

constexpr int kUpdateChecked = 58;
constexpr int kUpdateRefused = 64;
constexpr int kUpdateFailed = 65;
// The text of a download or installer start that failed.
constexpr UINT kDownloadFailedString = 149;
constexpr DWORD kDownloadEndBoundMs = 30000;
constexpr const WCHAR* kInstaller = u"\\Windows\\wceload.exe";

// What the last update check answered, for OnUpdateCheckResult (user-interface thread only).
struct UpdateCheckAnswer {
  CStringW memo;
  CStringW downloadUrl;
};
UpdateCheckAnswer g_lastCheck;

CStringW PackagePath()
{
  return GetModuleDirectory(nullptr) + u"KorvexPortal.CAB";
}

// The package is fetched only over verified TLS.
bool IsHttpsAddress(const CStringW& url)
{
  CStringW scheme = url.Left(8);
  scheme.MakeLower();
  return scheme == u"https://";
}

}  // namespace

void CKorvexPortalApp::CheckUpdate(HWND, UINT, const CStringW&)
{
  CPaymentService* service = GetPaymentService();
  if (!service)
    return;
  CStringW version;
  GetVersionText(version);
  CStringW product;
  ProductIdToText(product);
  // This check's own record: one that a foreign or earlier notification left cannot be taken.
  int status = 0;
  CStringW downloadUrl;
  CFacadeAnswer answer({kUpdateChecked, kUpdateRefused, kUpdateFailed}, [&](int, HRESULT, LPARAM value, bool first) {
    std::unique_ptr<UpdateResult> record(reinterpret_cast<UpdateResult*>(value));
    if (record && first) {
      status = record->resultStatus;
      downloadUrl = record->downloadURL.c_str();
    }
  });
  if (!RunBehindWaitBox(*this, *service, answer,
                        [&] { return service->Update(product.GetString(), version.GetString()); },
                        u"正在检测更新……"))
    return;
  g_lastCheck = UpdateCheckAnswer{answer.Memo(), downloadUrl};
  OnUpdateCheckResult(static_cast<WPARAM>(status), 0);
}

void CKorvexPortalApp::OnUpdateCheckResult(WPARAM status, LPARAM)
{
  UpdateCheckAnswer last = g_lastCheck;
  switch (static_cast<int>(status)) {
    case 202:
      if (ShowMessageBox(GetActiveWindow(), last.memo, CStringW(), KV_BOX_QUESTION, FALSE, SW_HIDE) ==
          KV_BOX_ANSWER_OK)
        DownloadUpdate(last.downloadUrl);
      break;
    case 203:
      ShowMessageBox(GetActiveWindow(), last.memo, CStringW(), KV_BOX_INFO | KV_BOX_SELF_CLOSING, FALSE, SW_HIDE);
      DownloadUpdate(last.downloadUrl);
      break;
    default:  // 201 (no update) and every other status
      ShowMessageBox(GetActiveWindow(), last.memo, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
      break;
  }
  if (HWND box = GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
}

void CKorvexPortalApp::DownloadUpdate(const CStringW& url)
{
  if (url.IsEmpty())
    return;
  if (!IsHttpsAddress(url)) {
    WRITE_LOG_ENTRY(u"not an https address");
    ShowMessageBox(GetActiveWindow(), LoadResourceString(kDownloadFailedString), CStringW(), KV_BOX_ERROR, FALSE,
                   SW_HIDE);
    return;
  }
  CStringW package = PackagePath();
  auto download = std::make_shared<CUpdateDownload>(url, package);
  int answer = KV_BOX_NO_ANSWER;
  {
    CUpdateDownloadBox box(download);
    answer = box.ShowDialog(GetActiveWindow(), 0, TRUE, TRUE);
    if (!box.Started())
      WRITE_LOG_ENTRY(u"download not started");
  }
  bool cancelled = answer == KV_BOX_ANSWER_CANCEL;
  // The box may also have gone without the download's end (the run ends): stop it either way.
  if (cancelled || download->GetOutcome() == CUpdateDownload::Outcome::kRunning)
    download->Abort();
  if (!download->Join(kDownloadEndBoundMs)) {
    WRITE_LOG_ENTRY(u"download did not end");
    return;
  }
  if (cancelled) {
    // A package that was complete when the user cancelled is not installed.
    if (download->GetOutcome() == CUpdateDownload::Outcome::kDone)
      DeleteFileW(package.GetString());
    return;
  }
  if (download->GetOutcome() != CUpdateDownload::Outcome::kDone) {
    ShowMessageBox(GetActiveWindow(), LoadResourceString(kDownloadFailedString), CStringW(), KV_BOX_ERROR, FALSE,
                   SW_HIDE);
    return;
  }
  // The installer deletes the package once installed; its setup hook ends this client.
  CStringW parameters;
  parameters.Format(u"\"%s\" /delete 1", package.GetString());
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = kInstaller;
  info.lpParameters = parameters.GetString();
  info.nShow = SW_SHOW;
  if (!ShellExecuteEx(&info)) {
    WRITE_LOG_ENTRY(u"installer not started");
    DeleteFileW(package.GetString());
    ShowMessageBox(GetActiveWindow(), LoadResourceString(kDownloadFailedString), CStringW(), KV_BOX_ERROR, FALSE,
                   SW_HIDE);
    return;
  }
  if (info.hProcess)
    CloseHandle(info.hProcess);
}
