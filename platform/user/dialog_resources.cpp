// Dialogs by template name: the template comes from the resource loader's finder.
#include "internal/user/dialog_resources.h"

#include <atomic>

#include "window_internal.h"

namespace {

std::atomic<user_dialog::DialogTemplateFinder> g_finder{nullptr};

LPCDLGTEMPLATE FindTemplate(HINSTANCE instance, LPCWSTR name)
{
  auto finder = g_finder.load();
  LPCDLGTEMPLATE found = finder && name ? finder(instance, name) : nullptr;
  if (!found)
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return found;
}

}  // namespace

void user_dialog::SetDialogTemplateFinder(DialogTemplateFinder finder)
{
  g_finder = finder;
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam)
{
  LPCDLGTEMPLATE found = FindTemplate(instance, templateName);
  return found ? CreateDialogIndirectParamW(instance, found, parent, dialogProc, initParam) : nullptr;
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam)
{
  LPCDLGTEMPLATE found = FindTemplate(instance, templateName);
  return found ? DialogBoxIndirectParamW(instance, found, owner, dialogProc, initParam) : -1;
}

BOOL RelayoutDialog(HINSTANCE instance, HWND dialog, LPCWSTR templateName)
{
  LPCDLGTEMPLATE found = FindTemplate(instance, templateName);
  return found ? RelayoutDialogIndirect(dialog, found) : FALSE;
}
