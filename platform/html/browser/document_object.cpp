#include "document_object.h"

#include "atl/com_ptr.h"
#include "html/page/utf8_text.h"

namespace kv::html {
namespace {

HRESULT Text(BSTR* out, const std::u16string& text)
{
  if (!out)
    return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT ScriptObject::QueryInterface(REFIID riid, void** ppvObject)
{
  if (!ppvObject)
    return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IDispatchEx)) {
    *ppvObject = static_cast<IDispatchEx*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG ScriptObject::Release()
{
  const ULONG left = --references_;
  if (left == 0)
    delete this;
  return left;
}

HRESULT ScriptObject::GetTypeInfoCount(UINT* pctinfo)
{
  if (!pctinfo)
    return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

HRESULT ScriptObject::IdOf(std::u16string_view name, DISPID* id)
{
  if (!id)
    return E_POINTER;
  *id = DISPID_UNKNOWN;
  std::shared_ptr<BrowserPage> page = page_.lock();
  if (!page)
    return E_FAIL;
  if (!page->Script().Defines(name))
    return DISP_E_UNKNOWNNAME;
  for (size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == name) {
      *id = static_cast<DISPID>(i + 1);
      return S_OK;
    }
  names_.emplace_back(name);
  *id = static_cast<DISPID>(names_.size());
  return S_OK;
}

HRESULT ScriptObject::GetDispID(BSTR bstrName, DWORD, DISPID* pid)
{
  return IdOf(std::u16string_view(bstrName ? bstrName : u"", SysStringLen(bstrName)), pid);
}

HRESULT ScriptObject::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
  if (!rgszNames || !rgDispId || cNames == 0)
    return E_INVALIDARG;
  HRESULT result = IdOf(rgszNames[0] ? rgszNames[0] : u"", &rgDispId[0]);
  for (UINT i = 1; i < cNames; ++i) {
    rgDispId[i] = DISPID_UNKNOWN;
    result = DISP_E_UNKNOWNNAME;  // functions are called without named arguments
  }
  return result;
}

HRESULT ScriptObject::Invoke(DISPID dispIdMember, REFIID, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                             VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT*)
{
  return InvokeEx(dispIdMember, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, nullptr);
}

HRESULT ScriptObject::InvokeEx(DISPID id, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pvarRes, EXCEPINFO* pei,
                               IServiceProvider*)
{
  if (pvarRes)
    VariantInit(pvarRes);
  if (!(wFlags & DISPATCH_METHOD) || id < 1 || static_cast<size_t>(id) > names_.size())
    return DISP_E_MEMBERNOTFOUND;
  std::shared_ptr<BrowserPage> page = page_.lock();
  if (!page)
    return E_FAIL;
  const std::u16string name = names_[static_cast<size_t>(id) - 1];
  CComPtr<ScriptObject> self(this);  // the call may end the caller's last reference
  const script::CallResult result = page->CallFunction(name);
  switch (result.outcome) {
  case script::CallOutcome::Missing: return DISP_E_MEMBERNOTFOUND;
  case script::CallOutcome::Threw:
    if (pei) {
      *pei = EXCEPINFO{};
      pei->bstrSource = SysAllocString(u"page script");
      pei->bstrDescription = SysAllocStringLen(result.text.data(), static_cast<UINT>(result.text.size()));
      pei->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
  case script::CallOutcome::Text:
    if (pvarRes) {
      pvarRes->vt = VT_BSTR;
      pvarRes->bstrVal = SysAllocStringLen(result.text.data(), static_cast<UINT>(result.text.size()));
    }
    return S_OK;
  }
  return E_UNEXPECTED;
}

DocumentObject::~DocumentObject()
{
  if (script_)
    script_->Release();
}

HRESULT DocumentObject::QueryInterface(REFIID riid, void** ppvObject)
{
  if (!ppvObject)
    return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLDocument2)) {
    *ppvObject = static_cast<IHTMLDocument2*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG DocumentObject::Release()
{
  const ULONG left = --references_;
  if (left == 0)
    delete this;
  return left;
}

HRESULT DocumentObject::GetTypeInfoCount(UINT* pctinfo)
{
  if (!pctinfo)
    return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

HRESULT DocumentObject::get_Script(IDispatch** p)
{
  if (!p)
    return E_POINTER;
  *p = nullptr;
  if (page_.expired())
    return E_FAIL;
  if (!script_)
    script_ = new ScriptObject(page_);
  script_->AddRef();
  *p = script_;
  return S_OK;
}

HRESULT DocumentObject::get_title(BSTR* p)
{
  std::shared_ptr<BrowserPage> page = page_.lock();
  return page ? Text(p, page->Title()) : E_FAIL;
}

HRESULT DocumentObject::get_URL(BSTR* p)
{
  std::shared_ptr<BrowserPage> page = page_.lock();
  return page ? Text(p, page->Url()) : E_FAIL;
}

HRESULT DocumentObject::get_charset(BSTR* p)
{
  std::shared_ptr<BrowserPage> page = page_.lock();
  return page ? Text(p, Wide(page->Charset())) : E_FAIL;
}

}  // namespace kv::html
