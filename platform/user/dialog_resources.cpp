// Dialogs by template name: the template comes from the resource loader's finder.
#include "internal/user/dialog_resources.h"

#include <atomic>

#include "dialog_state.h"

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

// The id of a template named by MAKEINTRESOURCE, 0 for a string name.
WORD TemplateId(LPCWSTR name)
{
  return IS_INTRESOURCE(name) ? static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)) : 0;
}

}  // namespace

void user_dialog::SetDialogTemplateFinder(DialogTemplateFinder finder)
{
  g_finder = finder;
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam)
{
  LPCDLGTEMPLATE found = FindTemplate(instance, templateName);
  if (!found)
    return nullptr;
  return user_dialog::CreateDialogOfTemplate(instance, found, parent, dialogProc, initParam, TemplateId(templateName));
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam)
{
  LPCDLGTEMPLATE found = FindTemplate(instance, templateName);
  if (!found)
    return -1;
  return user_dialog::RunDialogOfTemplate(instance, found, owner, dialogProc, initParam, TemplateId(templateName));
}

WORD user_dialog::DialogTemplateId(HWND dialog)
{
  auto record = FindDialog(dialog);
  return record ? record->templateId : 0;
}

BOOL RelayoutDialog(HINSTANCE instance, HWND dialog, LPCWSTR templateName)
{
  LPCDLGTEMPLATE found = FindTemplate(instance, templateName);
  return found ? RelayoutDialogIndirect(dialog, found) : FALSE;
}
