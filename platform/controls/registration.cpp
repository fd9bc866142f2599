// The controls become system classes of the process when the device starts, before any dialog
// or program code runs, the way the device offers them to every program.
#include "control_support.h"
#include "control_procedures.h"
#include "internal/boot/device_start.h"
#include "list_procedures.h"

#include <mutex>

void device_start::RegisterSystemClasses()
{
  static std::once_flag once;
  std::call_once(once, [] {
    using controls_detail::RegisterControlClass;
    RegisterControlClass(WC_STATICW, controls_detail::StaticProc, CS_DBLCLKS | CS_PARENTDC);
    RegisterControlClass(WC_BUTTONW, controls_detail::ButtonProc, CS_DBLCLKS | CS_PARENTDC);
    RegisterControlClass(WC_EDITW, controls_detail::EditProc, CS_DBLCLKS | CS_PARENTDC);
    RegisterControlClass(WC_SCROLLBARW, controls_detail::ScrollBarProc, CS_DBLCLKS | CS_PARENTDC);
    RegisterControlClass(WC_LISTBOXW, controls_detail::ListBoxProc, CS_DBLCLKS | CS_PARENTDC);
    RegisterControlClass(WC_COMBOBOXW, controls_detail::ComboBoxProc, CS_DBLCLKS | CS_PARENTDC);
    RegisterControlClass(WC_TABCONTROLW, controls_detail::TabControlProc, CS_PARENTDC);
    RegisterControlClass(WC_LISTVIEWW, controls_detail::ListViewProc, CS_DBLCLKS);
  });
}

// The common controls are system classes from the start; asking for them again makes sure.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX))
    return FALSE;
  device_start::RegisterSystemClasses();
  return TRUE;
}

void InitCommonControls()
{
  device_start::RegisterSystemClasses();
}
