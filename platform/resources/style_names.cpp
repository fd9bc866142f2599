// Window, dialog and control style names of resource scripts.
#include "style_names.h"

#include <unordered_map>

#include "user/dialog_template.h"
#include "user/window_styles.h"

namespace resources {
namespace {

#define KV_NAME(n) {#n, static_cast<DWORD>(n)}

const std::unordered_map<std::string_view, DWORD>& Names()
{
  static const std::unordered_map<std::string_view, DWORD> names = {
      KV_NAME(WS_OVERLAPPED), KV_NAME(WS_POPUP), KV_NAME(WS_CHILD), KV_NAME(WS_VISIBLE), KV_NAME(WS_DISABLED),
      KV_NAME(WS_CLIPSIBLINGS), KV_NAME(WS_CLIPCHILDREN), KV_NAME(WS_CAPTION), KV_NAME(WS_BORDER),
      KV_NAME(WS_DLGFRAME), KV_NAME(WS_VSCROLL), KV_NAME(WS_HSCROLL), KV_NAME(WS_SYSMENU), KV_NAME(WS_THICKFRAME),
      KV_NAME(WS_GROUP), KV_NAME(WS_TABSTOP), KV_NAME(WS_POPUPWINDOW),
      KV_NAME(WS_EX_DLGMODALFRAME), KV_NAME(WS_EX_NOPARENTNOTIFY), KV_NAME(WS_EX_TOPMOST),
      KV_NAME(WS_EX_TRANSPARENT), KV_NAME(WS_EX_TOOLWINDOW), KV_NAME(WS_EX_WINDOWEDGE), KV_NAME(WS_EX_CLIENTEDGE),
      KV_NAME(WS_EX_CONTEXTHELP), KV_NAME(WS_EX_RIGHT), KV_NAME(WS_EX_CONTROLPARENT), KV_NAME(WS_EX_STATICEDGE),
      KV_NAME(WS_EX_NOACTIVATE), KV_NAME(WS_EX_CAPTIONOKBTN),
      KV_NAME(DS_ABSALIGN), KV_NAME(DS_SYSMODAL), KV_NAME(DS_3DLOOK), KV_NAME(DS_FIXEDSYS), KV_NAME(DS_SETFONT),
      KV_NAME(DS_MODALFRAME), KV_NAME(DS_NOIDLEMSG), KV_NAME(DS_SETFOREGROUND), KV_NAME(DS_CONTROL),
      KV_NAME(DS_CENTER), KV_NAME(DS_CENTERMOUSE), KV_NAME(DS_CONTEXTHELP),
      // Statics.
      {"SS_LEFT", 0x0}, {"SS_CENTER", 0x1}, {"SS_RIGHT", 0x2}, {"SS_ICON", 0x3}, {"SS_BLACKRECT", 0x4},
      {"SS_GRAYRECT", 0x5}, {"SS_WHITERECT", 0x6}, {"SS_LEFTNOWORDWRAP", 0xC}, {"SS_BITMAP", 0xE},
      {"SS_NOPREFIX", 0x80}, {"SS_NOTIFY", 0x100}, {"SS_CENTERIMAGE", 0x200},
      // Buttons.
      {"BS_PUSHBUTTON", 0x0}, {"BS_DEFPUSHBUTTON", 0x1}, {"BS_CHECKBOX", 0x2}, {"BS_AUTOCHECKBOX", 0x3},
      {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5}, {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7},
      {"BS_AUTORADIOBUTTON", 0x9}, {"BS_OWNERDRAW", 0xB}, {"BS_LEFTTEXT", 0x20}, {"BS_ICON", 0x40},
      {"BS_BITMAP", 0x80}, {"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300}, {"BS_TOP", 0x400},
      {"BS_BOTTOM", 0x800}, {"BS_VCENTER", 0xC00}, {"BS_PUSHLIKE", 0x1000}, {"BS_MULTILINE", 0x2000},
      {"BS_NOTIFY", 0x4000}, {"BS_FLAT", 0x8000},
      // Edits.
      {"ES_LEFT", 0x0}, {"ES_CENTER", 0x1}, {"ES_RIGHT", 0x2}, {"ES_MULTILINE", 0x4}, {"ES_UPPERCASE", 0x8},
      {"ES_LOWERCASE", 0x10}, {"ES_PASSWORD", 0x20}, {"ES_AUTOVSCROLL", 0x40}, {"ES_AUTOHSCROLL", 0x80},
      {"ES_NOHIDESEL", 0x100}, {"ES_READONLY", 0x800}, {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},
      // Scroll bars, list boxes, combo boxes, list views.
      {"SBS_HORZ", 0x0}, {"SBS_VERT", 0x1},
      {"LBS_NOTIFY", 0x1}, {"LBS_SORT", 0x2}, {"LBS_OWNERDRAWFIXED", 0x10}, {"LBS_HASSTRINGS", 0x40},
      {"LBS_NOINTEGRALHEIGHT", 0x100},
      {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2}, {"CBS_DROPDOWNLIST", 0x3}, {"CBS_AUTOHSCROLL", 0x40},
      {"CBS_SORT", 0x100}, {"CBS_HASSTRINGS", 0x200},
      {"LVS_ICON", 0x0}, {"LVS_REPORT", 0x1}, {"LVS_SMALLICON", 0x2}, {"LVS_LIST", 0x3}, {"LVS_SINGLESEL", 0x4},
      {"LVS_SHOWSELALWAYS", 0x8}, {"LVS_OWNERDATA", 0x1000}, {"LVS_NOCOLUMNHEADER", 0x4000},
  };
  return names;
}

#undef KV_NAME

}  // namespace

std::optional<DWORD> StyleValue(std::string_view name)
{
  auto found = Names().find(name);
  if (found == Names().end())
    return std::nullopt;
  return found->second;
}

}  // namespace resources
