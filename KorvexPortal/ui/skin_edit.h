// A skinned edit: takes over an EDIT of a dialog. Unfocused, its background is the piece of the
// dialog skin behind it; four thin strips laid over its frame paint the frame black, or in the
// focus colour while the edit has the keyboard focus.
#pragma once

#include <array>

#include "atl/atl.h"
#include "skin_image.h"

class CSkinEdit;

// One side of a skinned edit's frame: a child of the edit's parent lying just above the edit.
class CEditBorder : public CWindowImpl<CEditBorder, CWindow, CWinTraits<WS_CHILD | WS_VISIBLE, WS_EX_NOACTIVATE>> {
 public:
  DECLARE_WND_SUPERCLASS(u"KvEditBorder", WC_STATICW)

  explicit CEditBorder(CSkinEdit* owner) : m_pOwner(owner) {}

  BEGIN_MSG_MAP(CEditBorder)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

  CSkinEdit* m_pOwner;
};

class CSkinEdit : public CWindowImpl<CSkinEdit> {
 public:
  CSkinEdit();
  ~CSkinEdit() override;

  // Skins an existing edit: its dialog frame style goes, the strips are laid over its frame.
  BOOL SubclassEdit(HWND hWnd, COLORREF focusColour);
  // Destroys the strips, deletes the frame brushes and gives the edit its own procedure back.
  void DestroyBorders();

  // The brush a strip paints with: the focus colour while the edit has the focus.
  HBRUSH FrameBrush() const;

  CSkinImage m_background;

  BEGIN_MSG_MAP(CSkinEdit)
    MESSAGE_HANDLER(OCM_COMMAND, OnReflectedCommand)
    MESSAGE_HANDLER(OCM_CTLCOLOREDIT, OnCtlColorEdit)
    MESSAGE_HANDLER(WM_MOVE, OnMove)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnReflectedCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnCtlColorEdit(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  // The edit's window rectangle in its parent's client coordinates and its frame width.
  RECT RectInParent() const;
  int FrameWidth() const;
  // The strips' rectangles for the edit's present place: top, bottom, left, right.
  std::array<RECT, 4> StripRects() const;
  std::array<CEditBorder*, 4> Strips() { return {&m_top, &m_bottom, &m_left, &m_right}; }
  void PlaceStrips();
  void DeleteBrushes();

  CEditBorder m_top;
  CEditBorder m_bottom;
  CEditBorder m_left;
  CEditBorder m_right;
  HBRUSH m_hNormalBrush = nullptr;
  HBRUSH m_hFocusBrush = nullptr;
};
