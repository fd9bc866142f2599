// Hands the dialog manager the DIALOG resources of a module, so that CreateDialogParam and
// DialogBoxParam find templates by name.
#include <mutex>

#include "internal/boot/device_start.h"
#include "internal/user/dialog_resources.h"
#include "resources/resource.h"

namespace {

LPCDLGTEMPLATE FindDialogTemplate(HINSTANCE module, LPCWSTR name)
{
  HRSRC found = FindResourceW(module, name, RT_DIALOG);
  if (!found)
    return nullptr;
  return static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(module, found)));
}

}  // namespace

void device_start::InstallDialogTemplates()
{
  static std::once_flag once;
  std::call_once(once, [] { user_dialog::SetDialogTemplateFinder(FindDialogTemplate); });
}
