// The list controls and the common controls become system classes of the process when this
// library is loaded, like the basic controls.
#include "control_support.h"
#include "list_procedures.h"

namespace {

using controls_detail::RegisterControlClass;

const bool registered = [] {
  RegisterControlClass(WC_LISTBOXW, controls_detail::ListBoxProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterControlClass(WC_COMBOBOXW, controls_detail::ComboBoxProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterControlClass(WC_TABCONTROLW, controls_detail::TabControlProc, CS_PARENTDC);
  RegisterControlClass(WC_LISTVIEWW, controls_detail::ListViewProc, CS_DBLCLKS);
  return true;
}();

}  // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
  return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX) && registered;
}

void InitCommonControls() {}
