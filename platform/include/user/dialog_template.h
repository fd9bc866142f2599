// Dialog templates in memory: the byte layout that resource libraries hold and that
// CreateDialogIndirectParam reads.
//
// A template is a DLGTEMPLATE followed by variable-length fields, each WORD-aligned:
//   menu   WORD 0 (none), or 0xFFFF and an ordinal, or a terminated UTF-16 name;
//   class  the same (0: the dialog class);
//   title  a terminated UTF-16 string;
//   font   only with DS_SETFONT: WORD point size and a terminated UTF-16 face name.
// Then cdit items, each starting DWORD-aligned: a DLGITEMTEMPLATE, the class (0xFFFF and an
// atom, see below, or a terminated UTF-16 class name), the title (0xFFFF and an ordinal, or a
// terminated UTF-16 string) and a WORD byte count of creation data followed by that data
// (handed to WM_CREATE in lpCreateParams; its first WORD is the size). Offsets are counted
// from the start of the template.
#pragma once

#include "base/types.h"

// Dialog styles.
#define DS_ABSALIGN 0x0001
#define DS_SYSMODAL 0x0002
#define DS_3DLOOK 0x0004
#define DS_FIXEDSYS 0x0008
#define DS_NOFAILCREATE 0x0010
#define DS_LOCALEDIT 0x0020
#define DS_SETFONT 0x0040
#define DS_MODALFRAME 0x0080
#define DS_NOIDLEMSG 0x0100
#define DS_SETFOREGROUND 0x0200
#define DS_CONTROL 0x0400
#define DS_CENTER 0x0800
#define DS_CENTERMOUSE 0x1000
#define DS_CONTEXTHELP 0x2000

// The atoms of the predefined control classes in an item's class field.
#define DLG_CLASS_BUTTON 0x0080
#define DLG_CLASS_EDIT 0x0081
#define DLG_CLASS_STATIC 0x0082
#define DLG_CLASS_LISTBOX 0x0083
#define DLG_CLASS_SCROLLBAR 0x0084
#define DLG_CLASS_COMBOBOX 0x0085

#pragma pack(push, 2)
struct DLGTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
};

struct DLGITEMTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
};
#pragma pack(pop)

static_assert(sizeof(DLGTEMPLATE) == 18, "the dialog header is 18 bytes");
static_assert(sizeof(DLGITEMTEMPLATE) == 18, "the item header is 18 bytes");

typedef DLGTEMPLATE* LPDLGTEMPLATE;
typedef const DLGTEMPLATE* LPCDLGTEMPLATE;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;
typedef DLGITEMTEMPLATE* LPDLGITEMTEMPLATE;
