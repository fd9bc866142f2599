// Resource values of the application's library.
#include "resource_values.h"

#include "app_services.h"

namespace {

constexpr UINT kTitleHeightString = 133;

}  // namespace

HMODULE AppResourceLibrary()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->GetResourceLibrary() : nullptr;
}

CStringW LoadResourceString(UINT id)
{
  HMODULE library = AppResourceLibrary();
  if (!library)
    return CStringW();
  // With no buffer size the loader hands out its own text, so no length limit applies.
  const WCHAR* text = nullptr;
  int length = LoadStringW(library, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? CStringW(text, length) : CStringW();
}

int LoadResourceInt(UINT id, int missing)
{
  CStringW text = LoadResourceString(id);
  return text.IsEmpty() ? missing : _wtoi(text);
}

HBITMAP LoadResourceBitmap(UINT id)
{
  HMODULE library = AppResourceLibrary();
  return library ? SHLoadImageResource(library, id) : nullptr;
}

int LoadIntResource()
{
  return LoadResourceInt(kTitleHeightString, 0);
}
