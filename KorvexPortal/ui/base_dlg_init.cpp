// The dialog base's life: initialisation, destruction and re-creation for a new orientation.
#include <algorithm>

#include "app_services.h"
#include "base_dlg.h"
#include "modal_loops.h"
#include "resource_values.h"

namespace {

constexpr int kBarLabelId = 1047;
constexpr UINT kScrollBarBitmap = 229;
constexpr UINT kScrollBarWidthString = 135;
constexpr int kDefaultScrollBarWidth = 10;
constexpr DWORD kKeyStyle = 0x5600000B;  // child, visible, clipping siblings and children, owner-drawn

HWND CreateChild(LPCWSTR className, LPCWSTR text, DWORD style, DWORD exStyle, RECT rect, HWND parent, int id)
{
  return CreateWindowExW(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr,
                         nullptr);
}

bool IsStatic(HWND window)
{
  WCHAR name[16] = {};
  GetClassNameW(window, name, 16);
  return CStringW(name).CompareNoCase(WC_STATICW) == 0;
}

}  // namespace

LRESULT CBaseDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  m_bInitStarted = true;
  // A derived dialog may have given its window up before the base's turn.
  if (!IsAlive())
    return FALSE;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (CMessageLoop* loop = app ? app->GetMessageLoop() : nullptr) {
    loop->AddMessageFilter(this);
    m_pFilterLoop = loop;
  }

  SHINITDLGINFO init{SHIDIM_FLAGS, m_hWnd, SHIDIF_FULLSCREENNOMENUBAR};
  SHInitDialog(&init);
  ModifyStyle(WS_VSCROLL, 0);
  SetFullScreenMode(IsFullScreen());
  if (!IsAlive())
    return FALSE;

  m_titleHeight = LoadIntResource();
  m_bottomBarHeight = LoadIntFromResource();
  m_orientation = GetOrientation();
  if (int menuId = GetMenuId())
    m_hMenu = LoadMenuW(AppResourceLibrary(), MAKEINTRESOURCEW(menuId));
  // The title's place is known before the skin is loaded, which draws a title given before the
  // show into it.
  ReadLayoutString();
  if (IsFullScreen())
    LoadSkin(m_orientation);
  m_scrollBarWidth = LoadResourceInt(kScrollBarWidthString, kDefaultScrollBarWidth);
  m_hScrollBitmap = LoadResourceBitmap(kScrollBarBitmap);

  if (!CreateBars() || !CreateSoftKeys())
    return FALSE;
  DrawTitleIntoSkin();
  CreateCenterKey();
  TakeOverStaticLabels();
  if (!LoadBoundValues())
    return FALSE;
  ApplyControlImages(m_orientation);
  // The bars take their places now: the dialog may already have its final size, and then no
  // WM_SIZE comes to place them.
  RECT client{};
  GetClientRect(&client);
  PlaceBars(client.right, client.bottom);

  MeasureAndPage(FALSE);
  InitFocus();
  // The dialog may have ended itself in InitFocus.
  if (!IsAlive())
    return FALSE;
  if (m_bPaged && !m_bMovedForSip) {
    PageContent(m_visible, ::GetFocus());
    StoreScrollInfo();
  }
  return FALSE;
}

bool CBaseDlg::CreateBars()
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE;
  HWND bottom = CreateChild(WC_STATICW, u"", kStyle, WS_EX_NOACTIVATE,
                            RECT{0, height - m_bottomBarHeight, width, height}, m_hWnd, kBarLabelId);
  if (bottom)
    m_bottomLabel.SubclassStatic(bottom);
  if (HasSecondLabel()) {
    HWND title = CreateChild(WC_STATICW, u"", kStyle, WS_EX_NOACTIVATE, RECT{0, 0, width, m_titleHeight}, m_hWnd,
                             kBarLabelId);
    if (title)
      m_titleLabel.SubclassStatic(title);
  }
  return IsAlive();
}

bool CBaseDlg::CreateSoftKeys()
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int caption = GetSystemMetrics(SM_CYCAPTION);
  int key = (width - 8) / 3;
  HFONT font = GetFont();
  struct Key {
    CSkinSoftKey& control;
    bool& created;
    int id;
    RECT rect;
    const CStringW& text;
    int menuPosition;
  };
  Key keys[] = {
      {m_softKey1, m_bSoftKey1Created, GetSoftKey1Id(), RECT{2, height - caption, key + 2, height},
       m_strSoftKeyText[0], 0},
      {m_softKey2, m_bSoftKey2Created, GetSoftKey2Id(), RECT{width - key - 2, height - caption, width - 2, height},
       m_strSoftKeyText[1], GetSoftKey1Id() != 0 ? 1 : 0},
  };
  for (Key& k : keys) {
    if (k.id == 0)
      continue;
    HWND button = GetDlgItem(k.id);
    k.created = button == nullptr;
    if (!button) {
      button = CreateChild(WC_BUTTONW, k.text, kKeyStyle, WS_EX_NOACTIVATE, k.rect, m_hWnd, k.id);
      if (button && font)
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (button && k.control.Attach(button, false))
      k.control.SetMenu(m_hMenu, k.menuPosition);
  }
  return IsAlive();
}

void CBaseDlg::CreateCenterKey()
{
  int id = GetCenterKeyId();
  if (id == 0)
    return;
  // A template control of that id is left as the template made it.
  m_bCenterKeyCreated = GetDlgItem(id) == nullptr;
  if (!m_bCenterKeyCreated)
    return;
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int caption = GetSystemMetrics(SM_CYCAPTION);
  int key = (width - 8) / 3;
  RECT rect{width - 2 * key - 4, height - caption, width - key - 4, height};
  if (m_centerKey.Create(m_hWnd, rect, nullptr, kKeyStyle, WS_EX_NOACTIVATE, static_cast<UINT_PTR>(id))) {
    if (HFONT font = GetFont())
      m_centerKey.SetFont(font, FALSE);
  }
}

void CBaseDlg::TakeOverStaticLabels()
{
  std::vector<HWND> statics;
  for (HWND child = GetWindow(GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (LOWORD(::GetDlgCtrlID(child)) == LOWORD(IDC_STATIC) && IsStatic(child))
      statics.push_back(child);
  }
  for (HWND window : statics) {
    auto label = std::make_unique<CSkinLabel>();
    if (!label->SubclassStatic(window))
      continue;
    m_layouts.push_back(LayoutOf(*label, label->m_background, kControlLabel, -1, -1, 0));
    ::SetWindowPos(window, m_bottomLabel, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    m_createdLabels.push_back(std::move(label));
  }
}

bool CBaseDlg::LoadBoundValues()
{
  m_bBindingAllowed = false;
  BindControls(FALSE, -1);
  m_bBindingAllowed = true;
  return IsAlive();
}

void CBaseDlg::ApplyControlImages(int orientation)
{
  for (ControlLayout& layout : m_layouts) {
    if (!layout.image || layout.kind == kControlPlain)
      continue;
    int bitmapId = orientation == 1 ? layout.portraitBitmap : layout.landscapeBitmap;
    HBITMAP bitmap = bitmapId > 0 ? LoadResourceBitmap(static_cast<UINT>(bitmapId)) : nullptr;
    if (bitmap) {
      layout.image->AttachBitmap(bitmap);
      SIZE size{};
      if (layout.sizeToBitmap && *layout.window && GetBitmapSize(bitmap, &size))
        ::SetWindowPos(*layout.window, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (IsSkinned() && m_hSkinBitmap) {
      layout.image->Attach(&m_hSkinBitmap, false);
    } else {
      layout.image->SetSource(GetBackgroundColor(), true);
    }
    if (*layout.window)
      ::InvalidateRect(*layout.window, nullptr, TRUE);
  }
}

LRESULT CBaseDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (app) {
    if (CMessageLoop* loop = app->GetMessageLoop())
      loop->RemoveMessageFilter(this);
    // The loop the filter went to at initialisation, when a modal dialog has taken its place since.
    if (IsLiveMessageLoop(app, m_pFilterLoop))
      m_pFilterLoop->RemoveMessageFilter(this);
  }
  m_pFilterLoop = nullptr;
  // A modal loop of this dialog may be waiting for messages: it wakes and sees its dialog gone.
  if (m_pModalLoop)
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);

  if (m_scrollBar.IsWindow())
    m_scrollBar.DestroyWindow();
  m_bMovedForSip = false;
  if (m_hMenu) {
    DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
  }
  struct Key {
    CWindowImplBaseT<CWindow, CControlWinTraits>& control;
    bool created;
  };
  for (Key key : {Key{m_softKey1, m_bSoftKey1Created}, Key{m_softKey2, m_bSoftKey2Created},
                  Key{m_centerKey, m_bCenterKeyCreated}}) {
    if (!key.control.m_hWnd)
      continue;
    if (key.created)
      ::DestroyWindow(key.control.m_hWnd);
    else
      key.control.UnsubclassWindow(TRUE);
  }
  for (CSkinLabel* label : {&m_bottomLabel, &m_titleLabel}) {
    if (label->IsWindow())
      ::DestroyWindow(label->m_hWnd);
  }
  ReleaseControls();
  m_createdLabels.clear();
  for (HBITMAP* bitmap : {&m_hScrollBitmap, &m_hSkinBitmap, &m_hBottomBitmap}) {
    if (*bitmap)
      DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
  m_bTitleInSkin = false;
  m_bPaged = false;
  m_bShiftedForScrollBar = false;
  m_scrollOffset = 0;
  m_pages.clear();
  m_lastSize = SIZE{0, 0};
  return 0;
}

void CBaseDlg::ReleaseControls()
{
  for (ControlLayout& layout : m_layouts) {
    switch (layout.kind) {
    case kControlSkinEdit:
      if (layout.subclass)
        static_cast<CSkinEdit*>(layout.subclass)->DestroyBorders();
      break;
    case kControlLabel:
      if (layout.subclass && layout.subclass->m_hWnd)
        layout.subclass->UnsubclassWindow(TRUE);
      break;
    default:
      break;
    }
    // A window the dialog's destruction takes with it is not this object's any more.
    if (layout.window)
      *layout.window = nullptr;
    if (layout.image)
      layout.image->Release();
  }
  m_layouts.clear();
}

void CBaseDlg::RecreateForOrientation(int orientation)
{
  BindControls(TRUE, -1);
  if (!IsAlive())
    return;
  LoadSkin(orientation);
  if (m_scrollBar.IsWindow() && m_scrollBar.IsWindowVisible()) {
    for (ControlLayout& layout : m_layouts) {
      layout.current = layout.initial;
      if (*layout.window)
        ::SetWindowPos(*layout.window, nullptr, layout.initial.left, layout.initial.top,
                       layout.initial.right - layout.initial.left, layout.initial.bottom - layout.initial.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_bMovedForSip = false;
  }
  // Every control stands where the template put it now.
  m_bPaged = false;
  m_bShiftedForScrollBar = false;
  m_scrollOffset = 0;
  RelayoutDialog(AppResourceLibrary(), m_hWnd, MAKEINTRESOURCEW(GetTemplateId(orientation)));
  SHINITDLGINFO init{SHIDIM_FLAGS, m_hWnd, SHIDIF_FULLSCREENNOMENUBAR};
  SHInitDialog(&init);
  ModifyStyle(WS_VSCROLL, 0);
  SetFullScreenMode(m_bFullScreen);
  ApplyControlImages(orientation);
  LoadBoundValues();
}
