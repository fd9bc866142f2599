#include "service_errors.h"

namespace {

struct ErrorText {
  HRESULT hr;
  const WCHAR* text;
};

const ErrorText kErrorTexts[] = {
    {E_OUTOFMEMORY, kOutOfMemoryText},
    {E_SERVICE_EMPTY_REPLY, u"服务器返回的数据不正确！"},
    {E_SERVICE_BAD_REPLY, u"解析服务器返回的数据时出错！"},
};

}  // namespace

const WCHAR* LookupErrorText(HRESULT hr)
{
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.hr == hr) {
      return entry.text;
    }
  }
  return nullptr;
}
