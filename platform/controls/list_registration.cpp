// The list controls and the common controls become system classes of the process when this
// library is loaded, like the basic controls.
#include "control_support.h"
#include "list_procedures.h"

namespace {

void RegisterListClass(LPCWSTR name, WNDPROC procedure, UINT style)
{
  WNDCLASSW wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = controls_detail::kRecordBytes;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

const bool registered = [] {
  RegisterListClass(WC_LISTBOXW, controls_detail::ListBoxProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterListClass(WC_COMBOBOXW, controls_detail::ComboBoxProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterListClass(WC_TABCONTROLW, controls_detail::TabControlProc, CS_PARENTDC);
  RegisterListClass(WC_LISTVIEWW, controls_detail::ListViewProc, CS_DBLCLKS);
  return true;
}();

}  // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
  return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX) && registered;
}

void InitCommonControls() {}
