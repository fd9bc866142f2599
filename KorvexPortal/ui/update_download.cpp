// The update package's download thread and its box.
#include "update_download.h"

#include "inet/url_download.h"
#include "log_writer.h"
#include "message_box_types.h"

namespace {

// Hears the download's start (the binding to abort) and its end; stops it at the next progress
// report when it was aborted before the binding was known.
class CDownloadCallback : public IBindStatusCallback {
 public:
  explicit CDownloadCallback(CUpdateDownload& download) : m_download(download) {}
  virtual ~CDownloadCallback() = default;

  HRESULT QueryInterface(REFIID riid, void** object) override
  {
    if (!object)
      return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
      *object = static_cast<IBindStatusCallback*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the download thread's stack for the whole download.
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }

  HRESULT OnStartBinding(DWORD, IBinding* binding) override { return m_download.OnStart(binding); }
  HRESULT GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT OnLowResource(DWORD) override { return S_OK; }
  HRESULT OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return m_download.IsAborted() ? E_ABORT : S_OK; }
  HRESULT OnStopBinding(HRESULT, LPCWSTR) override
  {
    m_download.OnStop();
    return S_OK;
  }
  HRESULT GetBindInfo(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
  HRESULT OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  HRESULT OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

 private:
  CUpdateDownload& m_download;
};

struct ThreadStart {
  std::shared_ptr<CUpdateDownload> download;
  HWND notify;
};

}  // namespace

CUpdateDownload::~CUpdateDownload()
{
  if (m_hThread)
    CloseHandle(m_hThread);
}

bool CUpdateDownload::Start(const std::shared_ptr<CUpdateDownload>& download, HWND notify)
{
  auto* start = new ThreadStart{download, notify};
  download->m_hThread = CreateThread(nullptr, 0, ThreadProc, start, 0, nullptr);
  if (!download->m_hThread) {
    delete start;
    return false;
  }
  return true;
}

DWORD WINAPI CUpdateDownload::ThreadProc(LPVOID parameter)
{
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
  start->download->Run(start->notify);
  return 0;
}

void CUpdateDownload::Run(HWND notify)
{
  CDownloadCallback callback(*this);
  HRESULT result = m_bAborted ? E_ABORT
                              : URLDownloadToFileW(nullptr, m_url.GetString(), m_path.GetString(), 0, &callback);
  m_result = result;
  m_outcome = SUCCEEDED(result) ? Outcome::kDone : Outcome::kFailed;
  if (FAILED(result) && result != E_ABORT)
    WRITE_LOG_ENTRY(u"download failed %08x", static_cast<unsigned>(result));
  // A box that is gone (cancelled) is not told.
  if (notify)
    ::PostMessageW(notify, WM_CLOSE, 0, 0);
}

HRESULT CUpdateDownload::OnStart(IBinding* binding)
{
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_bAborted)
    return E_ABORT;
  m_pBinding = binding;
  if (m_pBinding)
    m_pBinding->AddRef();
  return S_OK;
}

void CUpdateDownload::OnStop()
{
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_pBinding)
    m_pBinding->Release();
  m_pBinding = nullptr;
}

void CUpdateDownload::Abort()
{
  std::lock_guard<std::mutex> guard(m_lock);
  m_bAborted = true;
  if (m_pBinding)
    m_pBinding->Abort();
}

bool CUpdateDownload::Join(DWORD boundMs)
{
  return !m_hThread || MsgWaitForMultipleObjects(1, &m_hThread, FALSE, boundMs, 0) == WAIT_OBJECT_0;
}

CUpdateDownloadBox::CUpdateDownloadBox(std::shared_ptr<CUpdateDownload> download)
    : CSkinMessageBox(u"正在下载……", u"", KV_BOX_WAIT, TRUE), m_download(std::move(download))
{
}

LRESULT CUpdateDownloadBox::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The window exists now, so the download's end always finds it (or finds it gone).
  m_bStarted = CUpdateDownload::Start(m_download, m_hWnd);
  if (!m_bStarted)
    PostMessage(WM_CLOSE);
  bHandled = FALSE;
  return 0;
}
