// An owner-painted button of the scrolling forms and the desktop: a caption and a right-aligned
// value on one row (row style), or an icon and a title (icon style), with a focus look. It posts
// its dialog a message of the dialog's choosing when it gains the focus, and WM_COMMAND when
// tapped.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CFormButton : public CWindowImpl<CFormButton> {
 public:
  DECLARE_WND_SUPERCLASS(u"KvFormButton", u"BUTTON")

  // The row images of the resource library: left cap, middle, right cap.
  static constexpr UINT kLeftCapImage = 224;
  static constexpr UINT kMiddleImage = 225;
  static constexpr UINT kRightCapImage = 223;
  static constexpr UINT kNoFocusMessage = static_cast<UINT>(-1);

  CFormButton() = default;
  ~CFormButton() override;
  CFormButton(const CFormButton&) = delete;
  CFormButton& operator=(const CFormButton&) = delete;

  // Stores the style (non-zero: row style) and loads the three row images.
  void LoadImages(int rowStyle);
  // The message posted to the parent (wParam: the control id) when the button gains the focus.
  void SetChecked(UINT focusMessage) { focusMessage_ = focusMessage; }
  // Icon style: the icon and the face shown while focused, from the resource library or given
  // (the button owns them either way).
  void LoadBitmaps(UINT iconId, UINT focusFaceId);
  void SetBitmaps(HBITMAP icon, HBITMAP focusFace);
  void SetTitle(LPCWSTR title, COLORREF colour);
  void SetTexts(LPCWSTR caption, COLORREF captionColour, LPCWSTR value, COLORREF valueColour);
  void SetTextsW(LPCWSTR caption, COLORREF colour, const CStringW& value);
  const CStringW& GetText() const { return caption_; }
  const CStringW& GetValueText() const { return value_; }

  BEGIN_MSG_MAP(CFormButton)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnLookChange)
    MESSAGE_HANDLER(BM_SETSTATE, OnLookChange)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnButtonUp)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLookChange(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled);

  void Redraw();
  void PaintFace(HDC dc, const RECT& rect, COLORREF* frame) const;
  void PaintTexts(HDC dc, const RECT& rect) const;

  HBITMAP icon_ = nullptr;
  HBITMAP focusFace_ = nullptr;
  CStringW title_;
  COLORREF titleColour_ = 0;
  CStringW caption_;
  COLORREF captionColour_ = 0;
  CStringW value_;
  COLORREF valueColour_ = 0;
  int rowStyle_ = 0;
  HBITMAP leftCap_ = nullptr;
  HBITMAP middle_ = nullptr;
  HBITMAP rightCap_ = nullptr;
  UINT focusMessage_ = kNoFocusMessage;
};
