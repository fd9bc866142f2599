// The dialog base's bindings of dialog items: skinned edits and labels, the account labels and
// plain windows, each recorded for the layout and taken over once per dialog window.
#include <algorithm>

#include "app_services.h"
#include "base_dlg.h"

ControlLayout CBaseDlg::LayoutOf(CWindowImplBaseT<CWindow, CControlWinTraits>& control, CSkinImage& image, int kind,
                                 int portraitBitmap, int landscapeBitmap, int sizeToBitmap)
{
  ControlLayout layout;
  layout.window = &control.m_hWnd;
  layout.subclass = &control;
  layout.image = &image;
  layout.kind = kind;
  layout.portraitBitmap = portraitBitmap;
  layout.landscapeBitmap = landscapeBitmap;
  layout.sizeToBitmap = sizeToBitmap;
  return layout;
}

void CBaseDlg::AddLayout(const ControlLayout& layout)
{
  // A control whose item was missing keeps its record for the next attempt; it gets no second.
  bool known = std::any_of(m_layouts.begin(), m_layouts.end(),
                           [&](const ControlLayout& existing) { return existing.window == layout.window; });
  if (!known)
    m_layouts.push_back(layout);
}

void CBaseDlg::AttachSkinEdit(int controlId, CSkinEdit& edit, int kind, BOOL save, COLORREF focusColour)
{
  if (save || edit.m_hWnd)
    return;
  AddLayout(LayoutOf(edit, edit.m_background, kind, 0, 0, 0));
  edit.SubclassEdit(GetDlgItem(controlId), focusColour);
}

void CBaseDlg::AttachSkinLabel(int controlId, CSkinLabel& label, int kind, BOOL save, int portraitBitmap,
                               int landscapeBitmap, int sizeToBitmap)
{
  if (save || label.m_hWnd)
    return;
  AddLayout(LayoutOf(label, label.m_background, kind, portraitBitmap, landscapeBitmap, sizeToBitmap));
  label.SubclassStatic(GetDlgItem(controlId));
}

void CBaseDlg::AttachAccountLabel(int controlId, BOOL save, int portraitBitmap, int landscapeBitmap)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  AttachAccountText(controlId, save, m_accountLabel, m_strAccountCaption, app ? app->GetLogonId() : CStringW(),
                    portraitBitmap, landscapeBitmap);
}

void CBaseDlg::AttachUserNameLabel(int controlId, BOOL save, int portraitBitmap, int landscapeBitmap)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  AttachAccountText(controlId, save, m_userNameLabel, m_strUserNameCaption, app ? app->GetUserName() : CStringW(),
                    portraitBitmap, landscapeBitmap);
}

void CBaseDlg::AttachAccountText(int controlId, BOOL save, CSkinLabel& label, CStringW& caption,
                                 const CStringW& value, int portraitBitmap, int landscapeBitmap)
{
  if (save)
    return;
  HWND item = GetDlgItem(controlId);
  // The template's caption is read once, before the label takes the item over.
  if (item && !label.m_hWnd)
    CWindow(item).GetWindowText(caption);
  if (item)
    ::SetWindowTextW(item, caption + value);
  if (label.m_hWnd)
    return;
  AddLayout(LayoutOf(label, label.m_background, kControlLabel, portraitBitmap, landscapeBitmap, 0));
  label.SubclassStatic(item);
}

BOOL CBaseDlg::AddLayoutItem(int controlId, HWND* windowSlot, int kind)
{
  if (!windowSlot || *windowSlot)
    return FALSE;
  HWND item = GetDlgItem(controlId);
  if (!item)
    return FALSE;
  *windowSlot = item;
  ControlLayout layout;
  layout.window = windowSlot;
  layout.kind = kind;
  AddLayout(layout);
  return TRUE;
}
