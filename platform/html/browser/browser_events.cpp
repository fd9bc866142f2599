#include "browser_events.h"

#include <cstring>
#include <deque>
#include <vector>

#include "html/page/utf8_text.h"
#include "html/web_browser.h"

namespace kv::html {
namespace {

// The values an event's arguments refer to, owned until the event has been fired.
class EventValues {
 public:
  ~EventValues()
  {
    for (VARIANT& value : values_)
      VariantClear(&value);
  }

  VARIANT* Text(const std::u16string& text)
  {
    VARIANT& value = New();
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return &value;
  }
  VARIANT* Number(LONG number)
  {
    VARIANT& value = New();
    value.vt = VT_I4;
    value.lVal = number;
    return &value;
  }
  // An array of bytes, or empty for no bytes.
  VARIANT* Bytes(const std::string& bytes)
  {
    VARIANT& value = New();
    if (bytes.empty())
      return &value;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (array && SUCCEEDED(SafeArrayAccessData(array, &data))) {
      std::memcpy(data, bytes.data(), bytes.size());
      SafeArrayUnaccessData(array);
      value.vt = VT_ARRAY | VT_UI1;
      value.parray = array;
    }
    return &value;
  }

 private:
  VARIANT& New()
  {
    values_.emplace_back();
    VariantInit(&values_.back());
    return values_.back();
  }

  std::deque<VARIANT> values_;  // arguments point at them: they never move
};

// The arguments of an event in declaration order, turned around for DISPPARAMS when fired.
class EventArguments {
 public:
  explicit EventArguments(IDispatch& browser)
  {
    VARIANT& first = Add();
    first.vt = VT_DISPATCH;
    first.pdispVal = &browser;  // not owned: the arguments are never cleared
  }
  void Reference(VARIANT* value)
  {
    VARIANT& argument = Add();
    argument.vt = VT_BYREF | VT_VARIANT;
    argument.pvarVal = value;
  }
  void Flag(VARIANT_BOOL* flag)
  {
    VARIANT& argument = Add();
    argument.vt = VT_BYREF | VT_BOOL;
    argument.pboolVal = flag;
  }
  void Fire(CConnectionPoint& point, DISPID id)
  {
    std::vector<VARIANT> reversed(arguments_.rbegin(), arguments_.rend());
    point.Fire(id, reversed.data(), static_cast<UINT>(reversed.size()));
  }

 private:
  VARIANT& Add()
  {
    arguments_.emplace_back();
    VariantInit(&arguments_.back());
    return arguments_.back();
  }

  std::vector<VARIANT> arguments_;
};

}  // namespace

bool BrowserEvents::BeforeNavigate2(const std::u16string& url, const std::string& postData, const std::string& headers)
{
  EventValues values;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EventArguments arguments(browser_);
  arguments.Reference(values.Text(url));
  arguments.Reference(values.Number(0));
  arguments.Reference(values.Text(u""));
  arguments.Reference(values.Bytes(postData));
  arguments.Reference(values.Text(Wide(headers)));
  arguments.Flag(&cancel);
  arguments.Fire(point_, DISPID_BEFORENAVIGATE2);
  return cancel != VARIANT_FALSE;
}

void BrowserEvents::NavigateComplete2(const std::u16string& url)
{
  EventValues values;
  EventArguments arguments(browser_);
  arguments.Reference(values.Text(url));
  arguments.Fire(point_, DISPID_NAVIGATECOMPLETE2);
}

void BrowserEvents::DocumentComplete(const std::u16string& url)
{
  EventValues values;
  EventArguments arguments(browser_);
  arguments.Reference(values.Text(url));
  arguments.Fire(point_, DISPID_DOCUMENTCOMPLETE);
}

bool BrowserEvents::NavigateError(const std::u16string& url, LONG status)
{
  EventValues values;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EventArguments arguments(browser_);
  arguments.Reference(values.Text(url));
  arguments.Reference(values.Text(u""));
  arguments.Reference(values.Number(status));
  arguments.Flag(&cancel);
  arguments.Fire(point_, DISPID_NAVIGATEERROR);
  return cancel != VARIANT_FALSE;
}

}  // namespace kv::html
