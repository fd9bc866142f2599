// The dialog base of every screen. It creates the dialog from a template of the resource library
// chosen by the screen's orientation, makes it full screen, paints its skin (a background bitmap,
// or a plain colour with a title strip and a soft-key bar cut from the bitmap), gives it a title,
// two soft keys and the centre key, shows it modelessly or in a modal loop of its own, forwards
// the commands that every screen shares to the application object, pages content that does not
// fit between the title and the soft-key bar, and keeps the field being edited above the soft
// input panel. Each screen describes its look through ISkinInfo and binds its controls through
// CControlBinder.
#pragma once

#include <memory>
#include <vector>

#include "atl/atl.h"
#include "control_layout.h"
#include "dialog_ids.h"
#include "skin_center_key.h"
#include "skin_edit.h"
#include "skin_label.h"
#include "skin_scroll_bar.h"
#include "skin_soft_key.h"
#include "text/cstring.h"
#include "title_layout.h"

class CDialogMessageLoop;

// Binding a dialog's controls to its members.
class CControlBinder {
 public:
  virtual ~CControlBinder() = default;
  // save TRUE copies the controls' values into the members, FALSE copies them back; controlId
  // -1 means every control.
  virtual BOOL BindControls(BOOL save, int controlId) = 0;
};

// The look of a dialog. Orientation: 1 portrait, -1 landscape, 0 square.
class ISkinInfo {
 public:
  virtual ~ISkinInfo() = default;
  virtual int GetTemplateId(int orientation) = 0;
  virtual int GetBackgroundBitmapId(int orientation) = 0;
  // A string of the title's place and the title (title_layout.h); 0: none.
  virtual int GetLayoutStringId() = 0;
  // Control ids of the two soft keys and of the centre key; 0: none.
  virtual int GetSoftKey1Id() = 0;
  virtual int GetSoftKey2Id() = 0;
  // The menu resource that feeds the soft keys; 0: none.
  virtual int GetMenuId() = 0;
  virtual int GetCenterKeyId() = 0;
  // Nonzero: a title label at the top, and the content is paged when it does not fit.
  virtual BOOL HasSecondLabel() = 0;
  virtual BOOL IsFullScreen() = 0;
  // The fill colour when the dialog is not one skin bitmap.
  virtual COLORREF GetBackgroundColor() = 0;
  // Nonzero: the whole background is the skin bitmap; zero: the plain colour with the strips.
  virtual BOOL IsSkinned() = 0;
};

class CBaseDlg : public CDialogImplBaseT<CWindow>, public CControlBinder, public CMessageFilter, public ISkinInfo {
 public:
  CBaseDlg();
  ~CBaseDlg() override;
  CBaseDlg(const CBaseDlg&) = delete;
  CBaseDlg& operator=(const CBaseDlg&) = delete;

  // The screen's orientation: 1 when it is narrower than high, -1 when wider, 0 when square.
  static int GetOrientation();
  // The soft-key bar's height in pixels: the integer of string resource 134 (0 when missing).
  static int LoadIntFromResource();

  // Creates the dialog from the template for the screen's orientation; null on failure (with
  // ERROR_OUTOFMEMORY when the dialog procedure cannot be made).
  HWND CreateFromTemplate(HWND parent, LPARAM param);
  // Shows the dialog: an existing window is shown full screen again (-1). Otherwise it is
  // created (0 when that fails) and shown full screen when asked; a modal dialog runs its own
  // loop and returns the loop's result, a modeless one returns -1.
  int ShowDialog(HWND parent, LPARAM param, BOOL modal, BOOL fullScreen);
  // Raises the parent to the top without activating it (when asked), hides the dialog and
  // destroys its window. The result is not used here.
  void CloseDialog(int result, BOOL raiseParent);

  // Texts of the soft keys: null keeps a text; an empty text clears the key. With apply, every
  // text set so far goes onto its key; a text never set leaves the key's caption alone.
  void SetSoftKeyTexts(LPCWSTR text1, LPCWSTR text2, BOOL apply);
  // The title; with redraw the skin is loaded afresh and the dialog repainted at once.
  void SetTitle(LPCWSTR text, BOOL redraw);
  const CStringW& GetTitle() const { return m_strTitle; }
  // Full-screen mode: on hides the task bar. Applied at once.
  void SetFullScreenMode(BOOL on);
  // Shows the task bar (showBars) or hides it, and places the dialog over the work area.
  void SetFullScreen(BOOL showBars, BOOL repaint);
  // Loads the skin bitmap for the orientation: the whole background when skinned, else the title
  // strip and the soft-key bar cut from it.
  void LoadSkin(int orientation);

  // The message filter: keyboard and pointer messages for the dialog's controls.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Called last when the dialog initialises; derived dialogs set the first focus here.
  virtual void InitFocus() {}
  BOOL BindControls(BOOL, int) override { return FALSE; }

  // The look of the base; a screen answers GetTemplateId and what differs.
  int GetBackgroundBitmapId(int) override { return 0; }
  int GetLayoutStringId() override { return 0; }
  int GetSoftKey1Id() override { return 0; }
  int GetSoftKey2Id() override { return 0; }
  int GetMenuId() override { return 0; }
  int GetCenterKeyId() override { return 0; }
  BOOL HasSecondLabel() override { return TRUE; }
  BOOL IsFullScreen() override { return TRUE; }
  COLORREF GetBackgroundColor() override { return 0xF5F5F5; }
  BOOL IsSkinned() override { return FALSE; }

  // Binding controls (from BindControls; with save they do nothing). Each takes its dialog item
  // over once, records it for layout and gives it the dialog's background.
  // A skinned edit: kind 3, its frame in the focus colour while it has the focus.
  void AttachSkinEdit(int controlId, CSkinEdit& edit, int kind, BOOL save, COLORREF focusColour);
  // A skinned label of the kind, with the bitmaps behind it in portrait and otherwise (-1: the
  // dialog's background) and whether it takes its bitmap's size.
  void AttachSkinLabel(int controlId, CSkinLabel& label, int kind, BOOL save, int portraitBitmap,
                       int landscapeBitmap, int sizeToBitmap);
  // A label showing its template caption followed by the logon id, or by the user name.
  void AttachAccountLabel(int controlId, BOOL save, int portraitBitmap, int landscapeBitmap);
  void AttachUserNameLabel(int controlId, BOOL save, int portraitBitmap, int landscapeBitmap);
  // Records a dialog item for layout (once) and stores its window handle in the slot.
  BOOL AddLayoutItem(int controlId, HWND* windowSlot, int kind = kControlPlain);

  // The edit-focus handling of WM_COMMAND: the edit is scrolled into view above the input panel,
  // and the centre key shows the input method while the panel is up.
  void ScrollToFocusedControl(WPARAM wParam, LPARAM lParam);

  BEGIN_MSG_MAP(CBaseDlg)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    MESSAGE_HANDLER(WM_NCACTIVATE, OnNcActivate)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE_IGNORED, OnIgnored)
    MESSAGE_HANDLER(WM_KV_ENDDIALOG, OnEndDialog)
    MESSAGE_HANDLER(WM_KV_UPDATECHECK_REPLY, OnUpdateCheckReply)
    MESSAGE_HANDLER(WM_KV_PREREGISTER_REPLY, OnPreRegisterReply)
    MESSAGE_HANDLER(WM_KV_IGNORED_633, OnIgnored633)
    MESSAGE_HANDLER(WM_KV_SETSIP, OnSetSip)
    // The shell's standard dialog.
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSipSettingChange)
    MESSAGE_HANDLER(WM_COMMAND, OnShellMenuCommand)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnTransparentStatic)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

 protected:
  // Ends the modal loop this dialog runs with the result (see CDialogMessageLoop::Quit); FALSE
  // when the dialog runs none.
  BOOL EndModalLoop(int result);

  // Content paging (content_pages.h) and the soft input panel.
  // Records (withRecord) or re-reads the controls' places; TRUE when some control lies outside
  // the visible rectangle. FALSE at once for a dialog without a second label or records.
  BOOL MeasureContent(const RECT& visible, BOOL withRecord);
  // Shows the scroll bar, builds the pages and shows the page of the target window.
  void PageContent(const RECT& visible, HWND target);
  // Moves every recorded control up by dy (and left by dx).
  void MoveContent(int dx, int dy);
  // Back to the layout without the input panel.
  void LayoutControls();
  // Shows (on) or hides the input panel.
  void SetSipVisible(BOOL on);
  // Pages the content to stay above the input panel, or back when it went down.
  void CheckSip();

  // The client area between the title strip and the soft-key bar (empty, never inverted, when the
  // bars fill the client).
  RECT WorkingRect();
  // For a WM_SIZE's lParam: TRUE when the size differs from the last one taken, which it records,
  // so a screen lays its content out once per size. A new window starts with no size taken.
  BOOL TakeNewSize(LPARAM lParam);

  // The skinned controls of the bars.
  CSkinSoftKey m_softKey1;
  CSkinSoftKey m_softKey2;
  CSkinCenterKey m_centerKey;
  CSkinLabel m_bottomLabel;
  CSkinLabel m_titleLabel;
  CSkinScrollBar m_scrollBar;
  // The skin: the whole background, or the title strip; the soft-key bar strip.
  HBITMAP m_hSkinBitmap = nullptr;
  HBITMAP m_hBottomBitmap = nullptr;
  HMENU m_hMenu = nullptr;
  int m_titleHeight = 0;
  int m_bottomBarHeight = 0;
  int m_orientation = 1;

  // The control part: the records of the controls the base lays out.
  std::vector<ControlLayout> m_layouts;
  // A label that a dialog may take over to show string 131 (or its own text) followed by the
  // current user id.
  CSkinLabel m_userIdLabel;

 private:
  // 0x62 takes no action.
  static constexpr UINT WM_NCMOUSEMOVE_IGNORED = 0x62;

  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnIgnored(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnEndDialog(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnUpdateCheckReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnPreRegisterReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnIgnored633(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnSetSip(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSipSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnShellMenuCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnTransparentStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

  // Initialisation steps; each returns false once the dialog's window is gone.
  bool CreateBars();
  bool CreateSoftKeys();
  void CreateCenterKey();
  void TakeOverStaticLabels();
  // BindControls (0, -1) with binding held off; false when the window went away meanwhile.
  bool LoadBoundValues();
  // The images of the recorded controls for the orientation.
  void ApplyControlImages(int orientation);
  // Releases each recorded control when the dialog goes.
  void ReleaseControls();
  // Gives the controls that show the skin their image afresh (after the skin changed).
  void ReleaseSkinImages();
  void ReadLayoutString();
  // The title drawn into the skin bitmap, once per skin.
  void DrawTitleIntoSkin();
  void PlaceBars(int width, int height);
  // Taken up at the first erase after the screen turned.
  void RecreateForOrientation(int orientation);
  // Measures and pages the content for the normal visible rectangle; TRUE when paged.
  BOOL MeasureAndPage(BOOL hideScrollBarWhenFits);
  RECT NormalVisibleRect() const;
  void StoreScrollInfo();
  // Moves the content by whole pages so that the page of the focused control shows.
  void BringFocusedIntoView(HWND focus);
  ControlLayout* FindLayout(HWND window);
  bool ShowsInputMethod() const;
  void UpdateUserLabels();
  void OnExitCommand(LPARAM lParam);
  void AttachAccountText(int controlId, BOOL save, CSkinLabel& label, CStringW& caption, const CStringW& value,
                         int portraitBitmap, int landscapeBitmap);
  bool IsAlive() const { return m_hWnd && ::IsWindow(m_hWnd); }
  // The record of a control that took a dialog item over.
  static ControlLayout LayoutOf(CWindowImplBaseT<CWindow, CControlWinTraits>& control, CSkinImage& image, int kind,
                                int portraitBitmap, int landscapeBitmap, int sizeToBitmap);
  // Adds a record unless the control's window field has one.
  void AddLayout(const ControlLayout& layout);

  // The labels that show the current user's logon id and name after their template captions.
  CSkinLabel m_accountLabel;
  CSkinLabel m_userNameLabel;
  CStringW m_strUserIdPrefix;
  CStringW m_strAccountCaption;
  CStringW m_strUserNameCaption;
  // The labels the base made of the template's IDC_STATIC items.
  std::vector<std::unique_ptr<CSkinLabel>> m_createdLabels;
  bool m_bBindingAllowed = true;

  bool m_bFullScreen = false;
  bool m_bSoftKey1Created = true;
  bool m_bSoftKey2Created = true;
  bool m_bCenterKeyCreated = true;
  CStringW m_strTitle;
  TitleLayout m_titleLayout;
  // The text drawn into the current skin bitmap, and whether one was drawn.
  CStringW m_strTitleInSkin;
  bool m_bTitleInSkin = false;

  bool m_bPaged = false;
  SCROLLINFO m_scrollInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  int m_scrollBarWidth = 10;
  HBITMAP m_hScrollBitmap = nullptr;
  int m_scrollOffset = 0;
  // Set when the content was shifted left for the scroll bar.
  bool m_bShiftedForScrollBar = false;
  // The screen turned while the dialog was inactive: its content is measured at activation.
  bool m_bOrientationChangedInactive = false;
  bool m_bMovedForSip = false;

  CStringW m_strSoftKeyText[2] = {CStringW(u"退出"), CStringW(u"菜单")};
  bool m_bSoftKeyTextSet[2] = {false, false};

  RECT m_visible{};
  std::vector<int> m_pages;

  // The modal loop this dialog runs, and the loop its filter is registered with.
  CDialogMessageLoop* m_pModalLoop = nullptr;
  CMessageLoop* m_pFilterLoop = nullptr;
  // Set once WM_INITDIALOG arrived for the window being created.
  bool m_bInitStarted = false;
  // The client size TakeNewSize took last.
  SIZE m_lastSize{0, 0};
};
