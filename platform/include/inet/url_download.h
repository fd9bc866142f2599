// Downloading a URL into a file of the device.
//
// URLDownloadToFileW blocks the calling thread until the file is complete. Another thread can
// end it early: the status callback receives the binding in OnStartBinding and may call its
// Abort from any thread, or return E_ABORT from OnProgress; the download then returns E_ABORT at
// once. The file appears only when the download succeeded; a failed or aborted one leaves no
// file behind and an existing file unchanged.
#pragma once

#include "base/types.h"
#include "base/unknown.h"
#include "inet/errors.h"

typedef GUID CLSID;
typedef WCHAR* LPOLESTR;
typedef LPCWSTR LPCOLESTR;
struct BINDINFO;
struct FORMATETC;
struct STGMEDIUM;

// {79EAC9C0-BAF9-11CE-8C82-00AA004BA90B}
inline constexpr IID IID_IBinding = {0x79EAC9C0, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};
// {79EAC9C1-BAF9-11CE-8C82-00AA004BA90B}
inline constexpr IID IID_IBindStatusCallback = {0x79EAC9C1, 0xBAF9, 0x11CE,
                                                {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};

// A download in progress. Abort may be called from any thread; the other operations are not
// supported (E_NOTIMPL).
struct IBinding : IUnknown {
  virtual HRESULT Abort() = 0;
  virtual HRESULT Suspend() = 0;
  virtual HRESULT Resume() = 0;
  virtual HRESULT SetPriority(LONG nPriority) = 0;
  virtual HRESULT GetPriority(LONG* pnPriority) = 0;
  virtual HRESULT GetBindResult(CLSID* pclsidProtocol, DWORD* pdwResult, LPOLESTR* pszResult, DWORD* pdwReserved) = 0;

 protected:
  ~IBinding() = default;
};
typedef IBinding* LPBINDING;

// Progress statuses passed to OnProgress.
#define BINDSTATUS_CONNECTING 2
#define BINDSTATUS_REDIRECTING 3
#define BINDSTATUS_BEGINDOWNLOADDATA 4
#define BINDSTATUS_DOWNLOADINGDATA 5
#define BINDSTATUS_ENDDOWNLOADDATA 6

// What the caller hears of a download, on the downloading thread: OnStartBinding with the
// binding first (a failure result aborts), OnProgress with the bytes so far and the expected
// total (0 when unknown), OnStopBinding with the result last. GetPriority, OnLowResource,
// GetBindInfo, OnDataAvailable and OnObjectAvailable are not called.
struct IBindStatusCallback : IUnknown {
  virtual HRESULT OnStartBinding(DWORD dwReserved, IBinding* pib) = 0;
  virtual HRESULT GetPriority(LONG* pnPriority) = 0;
  virtual HRESULT OnLowResource(DWORD reserved) = 0;
  virtual HRESULT OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode, LPCWSTR szStatusText) = 0;
  virtual HRESULT OnStopBinding(HRESULT hresult, LPCWSTR szError) = 0;
  virtual HRESULT GetBindInfo(DWORD* grfBINDF, BINDINFO* pbindinfo) = 0;
  virtual HRESULT OnDataAvailable(DWORD grfBSCF, DWORD dwSize, FORMATETC* pformatetc, STGMEDIUM* pstgmed) = 0;
  virtual HRESULT OnObjectAvailable(REFIID riid, IUnknown* punk) = 0;

 protected:
  ~IBindStatusCallback() = default;
};
typedef IBindStatusCallback* LPBINDSTATUSCALLBACK;

// Downloads an http or https URL into szFileName, a device path whose folder exists. pCaller
// is not used; dwReserved must be 0; lpfnCB may be NULL. Returns S_OK, E_ABORT, E_INVALIDARG,
// an INET_E_* code (INET_E_RESOURCE_NOT_FOUND for a 404 reply, INET_E_DOWNLOAD_FAILURE for
// another failed status or transfer, INET_E_SECURITY_PROBLEM for a certificate that does not
// verify), or the HRESULT of a file error.
HRESULT URLDownloadToFileW(LPUNKNOWN pCaller, LPCWSTR szURL, LPCWSTR szFileName, DWORD dwReserved,
                           LPBINDSTATUSCALLBACK lpfnCB);

inline HRESULT URLDownloadToFile(LPUNKNOWN pCaller, LPCWSTR szURL, LPCWSTR szFileName, DWORD dwReserved,
                                 LPBINDSTATUSCALLBACK lpfnCB)
{
  return URLDownloadToFileW(pCaller, szURL, szFileName, dwReserved, lpfnCB);
}
