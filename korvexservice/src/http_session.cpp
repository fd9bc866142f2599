#include "http_session.h"

#include <algorithm>
#include <string>

#include "secret_wipe.h"
#include "text/codepage.h"

namespace {

constexpr char kFormHeader[] = "Content-Type: application/x-www-form-urlencoded\r\n";
constexpr char kBodyPrefix[] = "requestData=";
constexpr DWORD kReadChunk = 1024;

std::string ToUtf8(const WCHAR* text)
{
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return {};
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(static_cast<size_t>(size - 1));
  return bytes;
}

bool StaysUnescaped(unsigned char c)
{
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
    return true;
  }
  static constexpr char kMarks[] = "!'()*-./:_~";
  return std::find(std::begin(kMarks), std::end(kMarks) - 1, static_cast<char>(c)) != std::end(kMarks) - 1;
}

// Every byte but the unreserved ones as "%" and two lower-case hexadecimal digits.
void AppendEscaped(const std::string& bytes, std::string& out)
{
  static constexpr char kHex[] = "0123456789abcdef";
  for (unsigned char c : bytes) {
    if (StaysUnescaped(c)) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0F]);
    }
  }
}

bool ContainsUtf8Charset(CStringW contentType)
{
  contentType.MakeLower();
  return contentType.Find(u"utf-8") >= 0;
}

}  // namespace

CHttpSessionBase::CHttpSessionBase()
    : m_hInternet(nullptr),
      m_hConnect(nullptr),
      m_hRequest(nullptr),
      m_connectedPort(0),
      m_connectedSecure(false),
      m_pfnSavedCallback(nullptr),
      m_length(0)
{
}

CHttpSessionBase::~CHttpSessionBase() = default;

void CHttpSessionBase::Reserve(int size)
{
  if (static_cast<int>(m_buffer.size()) < size) {
    m_buffer.assign(static_cast<size_t>(size), '\0');
  }
}

char* CHttpSessionBase::ReserveAt(int offset, int size)
{
  if (static_cast<int>(m_buffer.size()) < offset + size) {
    m_buffer.resize(static_cast<size_t>(offset + size), '\0');
  }
  return m_buffer.data() + offset;
}

CHttpSession::CHttpSession() : m_hCancel(nullptr), m_dwByteCount(0), m_asyncResult(FALSE)
{
  m_hCompletion = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CHttpSession::~CHttpSession()
{
  // Closing the handles first: no status callback comes after that, so the event is unused.
  Close();
  if (m_hCompletion) {
    CloseHandle(m_hCompletion);
  }
}

HttpResult CHttpSession::Open(const WCHAR* proxy, const WCHAR* host, WORD port)
{
  CStringW wantedProxy(proxy);
  // The proxy is a property of the internet handle: a new one needs a new handle.
  if (m_hInternet && wantedProxy != m_openedProxy) {
    Close();
  }
  if (!m_host.IsEmpty() && m_host.CompareNoCase(host) == 0 && m_connectedPort == port &&
      m_connectedSecure == m_url.IsSecure()) {
    return kHttpOk;
  }
  CloseRequest();
  if (!m_hInternet) {
    if (!wantedProxy.IsEmpty()) {
      m_hInternet = InternetOpenW(u"zunmobilep", INTERNET_OPEN_TYPE_PROXY, wantedProxy, nullptr, INTERNET_FLAG_ASYNC);
    } else {
      m_hInternet = InternetOpenW(u"zunmobile", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    }
    if (!m_hInternet) {
      return kHttpNoInternet;
    }
    m_openedProxy = wantedProxy;
    m_pfnSavedCallback = InternetSetStatusCallbackW(m_hInternet, &CHttpSession::StatusCallback);
  }
  m_hConnect = InternetConnectW(m_hInternet, host, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  if (!m_hConnect) {
    InternetCloseHandle(m_hInternet);
    m_hInternet = nullptr;
    m_openedProxy.Empty();
    return kHttpConnectFailed;
  }
  m_host = host;
  m_connectedPort = port;
  m_connectedSecure = m_url.IsSecure();
  return kHttpOk;
}

HttpResult CHttpSession::Post(const WCHAR* proxy, const WCHAR* url, const WCHAR* body)
{
  if (url == nullptr || *url == 0) {
    return kHttpBadUrl;
  }
  int escapedLength = EscapedUrlLength(url);
  if (escapedLength < 0 || escapedLength + 1 > kMaxUrlLength || !m_url.Parse(url)) {
    return kHttpBadUrl;
  }
  HttpResult result = Open(proxy, m_url.GetHostName(), m_url.GetPortNumber());
  if (result != kHttpOk) {
    return result;
  }
  CloseRequestHandle();

  DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE;
  if (m_url.IsSecure()) {
    flags |= INTERNET_FLAG_SECURE;
  }
  m_hRequest = HttpOpenRequestW(m_hConnect, u"POST", m_url.GetPathAndQuery(), u"HTTP/1.1", nullptr, nullptr, flags,
                                reinterpret_cast<DWORD_PTR>(this));
  if (!m_hRequest) {
    return kHttpOk;  // ReadResponse reports the missing request
  }
  SetPostBody(body);

  m_asyncResult = FALSE;
  bool hasData = m_length > 1;
  BOOL sent = HttpSendRequestA(m_hRequest, kFormHeader, sizeof kFormHeader - 1, hasData ? m_buffer.data() : nullptr,
                               hasData ? static_cast<DWORD>(m_length - 1) : 0);
  if (sent) {
    // Done at once: nothing will be reported, so the wait must not wait for it.
    m_asyncResult = TRUE;
    SetEvent(m_hCompletion);
    return kHttpOk;
  }
  if (GetLastError() == ERROR_IO_PENDING) {
    return kHttpOk;
  }
  WipeBuffer();
  return kHttpSendFailed;
}

void CHttpSession::WipeBuffer()
{
  WipeSecret(m_buffer.data(), m_buffer.size());
}

HttpResult CHttpSession::SetPostBody(const WCHAR* body)
{
  m_length = 0;
  if (body == nullptr || *body == 0) {
    return kHttpOk;
  }
  // The body may carry a secret: the copies made here are wiped before they are freed.
  std::string utf8 = ToUtf8(body);
  SecretWiper wipeUtf8(utf8.data(), utf8.size());
  if (body[0] != u'{') {
    Reserve(static_cast<int>(utf8.size()) + 1);
    std::copy(utf8.begin(), utf8.end(), m_buffer.begin());
    m_buffer[utf8.size()] = '\0';
    m_length = static_cast<int>(utf8.size()) + 1;
    return kHttpOk;
  }
  std::string encoded(kBodyPrefix);
  encoded.reserve(encoded.size() + 3 * utf8.size());  // no growth, so no copy is left behind
  AppendEscaped(utf8, encoded);
  SecretWiper wipeEncoded(encoded.data(), encoded.size());
  Reserve(static_cast<int>(encoded.size()) + 1);
  std::copy(encoded.begin(), encoded.end(), m_buffer.begin());
  m_buffer[encoded.size()] = '\0';
  m_length = static_cast<int>(encoded.size()) + 1;
  return kHttpOk;
}

HttpResult CHttpSession::Wait(DWORD timeout)
{
  HANDLE handles[2] = {m_hCompletion, m_hCancel};
  DWORD count = m_hCancel ? 2 : 1;
  switch (WaitForMultipleObjects(count, handles, FALSE, timeout)) {
    case WAIT_OBJECT_0:
      return kHttpOk;
    case WAIT_OBJECT_0 + 1:
      return kHttpCancelled;
    case WAIT_TIMEOUT:
      return kHttpTimeout;
    default:
      return kHttpWaitFailed;
  }
}

void CALLBACK CHttpSession::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length)
{
  auto* session = reinterpret_cast<CHttpSession*>(context);
  if (session == nullptr || information == nullptr) {
    return;
  }
  if (status == INTERNET_STATUS_RESPONSE_RECEIVED && length >= sizeof(DWORD)) {
    session->m_dwByteCount = *static_cast<DWORD*>(information);
  } else if (status == INTERNET_STATUS_REQUEST_COMPLETE && length >= sizeof(INTERNET_ASYNC_RESULT)) {
    session->m_asyncResult = static_cast<INTERNET_ASYNC_RESULT*>(information)->dwResult;
    SetEvent(session->m_hCompletion);
  }
}

HttpResult CHttpSession::ReadResponse(CStringW& out, HANDLE cancelEvent, DWORD timeout)
{
  if (!m_hRequest) {
    return kHttpConnectFailed;
  }
  m_hCancel = cancelEvent;
  HttpResult result = Wait(timeout);
  // The request is sent, or given up: its body, which may carry a secret, is not needed again.
  WipeBuffer();
  if (result == kHttpOk && !LastOperationSucceeded()) {
    result = kHttpConnectFailed;  // the send failed: no connection, refused certificate, ...
  }
  if (result == kHttpOk) {
    result = ReadReply(out, timeout);
  }
  CloseRequestHandle();
  m_hCancel = nullptr;
  return result;
}

HttpResult CHttpSession::ReadReply(CStringW& out, DWORD timeout)
{
  out.Empty();
  int position = 0;
  for (;;) {
    m_dwByteCount = kReadChunk;
    INTERNET_BUFFERSA record{};
    record.dwStructSize = sizeof record;
    record.lpvBuffer = ReserveAt(position, kReadChunk + 1);
    record.dwBufferLength = kReadChunk;
    if (!InternetReadFileExA(m_hRequest, &record, IRF_ASYNC, reinterpret_cast<DWORD_PTR>(this))) {
      if (GetLastError() != ERROR_IO_PENDING) {
        return kHttpConnectFailed;
      }
      HttpResult result = Wait(timeout);
      if (result != kHttpOk) {
        return result;
      }
      if (!LastOperationSucceeded()) {
        return kHttpConnectFailed;
      }
    }
    if (record.dwBufferLength == 0) {
      break;
    }
    position += static_cast<int>(record.dwBufferLength);
    m_length = position;
  }
  *ReserveAt(position, 1) = '\0';
  m_length = std::max(m_length, position + 1);
  return DecodeReply(out);
}

HttpResult CHttpSession::DecodeReply(CStringW& out)
{
  WCHAR status[5] = {};
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(m_hRequest, HTTP_QUERY_STATUS_CODE, status, &size, nullptr) || size != 6 ||
      CStringW(status) != u"200") {
    return kHttpConnectFailed;
  }
  WCHAR contentType[128] = {};
  size = sizeof contentType - sizeof(WCHAR);
  UINT codePage = CP_ACP;
  if (HttpQueryInfoW(m_hRequest, HTTP_QUERY_CONTENT_TYPE, contentType, &size, nullptr) &&
      ContainsUtf8Charset(contentType)) {
    codePage = CP_UTF8;
  }
  int byteCount = m_length - 1;
  if (byteCount <= 0) {
    return kHttpOk;  // an empty reply is an empty text
  }
  int characters = MultiByteToWideChar(codePage, 0, m_buffer.data(), byteCount, nullptr, 0);
  if (characters <= 0) {
    return kHttpConversionFailed;
  }
  WCHAR* text = out.GetBuffer(characters);
  MultiByteToWideChar(codePage, 0, m_buffer.data(), byteCount, text, characters);
  text[characters] = 0;
  out.ReleaseBuffer(-1);  // the text ends at its first zero character
  return kHttpOk;
}

void CHttpSession::CloseRequestHandle()
{
  if (m_hRequest) {
    InternetCloseHandle(m_hRequest);
    m_hRequest = nullptr;
  }
  // No callback comes after the close, so a completion that came too late for its wait is
  // dropped here rather than ending the next request's wait.
  ResetEvent(m_hCompletion);
}

void CHttpSession::CloseRequest()
{
  CloseRequestHandle();
  if (m_hConnect) {
    InternetCloseHandle(m_hConnect);
    m_hConnect = nullptr;
  }
  m_host.Empty();
}

void CHttpSession::Close()
{
  CloseRequest();
  if (m_hInternet) {
    InternetSetStatusCallbackW(m_hInternet, m_pfnSavedCallback);
    InternetCloseHandle(m_hInternet);
    m_hInternet = nullptr;
  }
  m_openedProxy.Empty();
}
