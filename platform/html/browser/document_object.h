// The component objects of a page shown by the browser: the document (IHTMLDocument2) and its
// script object (IDispatchEx). They hold the page weakly: once the browser has replaced the
// page, they answer E_FAIL.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "browser_page.h"
#include "html/web_browser.h"

namespace kv::html {

class ScriptObject final : public IDispatchEx {
 public:
  explicit ScriptObject(std::weak_ptr<BrowserPage> page) : page_(std::move(page)) {}

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
  HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                 EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
  HRESULT GetDispID(BSTR bstrName, DWORD grfdex, DISPID* pid) override;
  HRESULT InvokeEx(DISPID id, LCID lcid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarRes, EXCEPINFO* pei,
                   IServiceProvider* pspCaller) override;

 private:
  ~ScriptObject() = default;
  HRESULT IdOf(std::u16string_view name, DISPID* id);

  ULONG references_ = 1;
  std::weak_ptr<BrowserPage> page_;
  std::vector<std::u16string> names_;  // DISPID n names names_[n - 1]
};

class DocumentObject final : public IHTMLDocument2 {
 public:
  explicit DocumentObject(std::weak_ptr<BrowserPage> page) : page_(std::move(page)) {}

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
  HRESULT get_Script(IDispatch** p) override;
  HRESULT get_title(BSTR* p) override;
  HRESULT get_URL(BSTR* p) override;
  HRESULT get_charset(BSTR* p) override;

 private:
  ~DocumentObject();

  ULONG references_ = 1;
  std::weak_ptr<BrowserPage> page_;
  ScriptObject* script_ = nullptr;
};

}  // namespace kv::html
