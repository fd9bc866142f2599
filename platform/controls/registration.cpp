// The controls become system classes of the process when this library is loaded, before any
// dialog or program code runs, the way the device offers them to every program.
#include "control_support.h"
#include "control_procedures.h"

namespace {

using controls_detail::RegisterControlClass;

const bool registered = [] {
  RegisterControlClass(WC_STATICW, controls_detail::StaticProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterControlClass(WC_BUTTONW, controls_detail::ButtonProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterControlClass(WC_EDITW, controls_detail::EditProc, CS_DBLCLKS | CS_PARENTDC);
  RegisterControlClass(WC_SCROLLBARW, controls_detail::ScrollBarProc, CS_DBLCLKS | CS_PARENTDC);
  return true;
}();

}  // namespace
