// The dialog base: creating, showing and closing the dialog, its skin, title, soft-key texts and
// full-screen mode, the bars' places and the background.
#include "base_dlg.h"

#include <algorithm>
#include <optional>

#include "app_services.h"
#include "dialog_message_loop.h"
#include "modal_loops.h"
#include "resource_values.h"
#include "skin_image.h"

namespace {

constexpr UINT kBottomBarHeightString = 134;

// A copy of the source's rows top..top+height, `width` pixels wide.
HBITMAP CutStrip(HDC screen, HDC source, int width, int top, int height)
{
  if (width <= 0 || height <= 0)
    return nullptr;
  HBITMAP strip = CreateCompatibleBitmap(screen, width, height);
  HDC target = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(target, strip);
  BitBlt(target, 0, 0, width, height, source, 0, top, SRCCOPY);
  SelectObject(target, previous);
  DeleteDC(target);
  return strip;
}

void DeleteBitmap(HBITMAP& bitmap)
{
  if (bitmap)
    DeleteObject(bitmap);
  bitmap = nullptr;
}

}  // namespace

CBaseDlg::CBaseDlg() = default;

CBaseDlg::~CBaseDlg()
{
  // A dialog object that goes before its window takes the window with it, so no message ever
  // reaches a procedure whose object is gone.
  if (IsAlive())
    ::DestroyWindow(m_hWnd);
  DeleteBitmap(m_hSkinBitmap);
  DeleteBitmap(m_hBottomBitmap);
  DeleteBitmap(m_hScrollBitmap);
}

int CBaseDlg::GetOrientation()
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  return width < height ? 1 : width > height ? -1 : 0;
}

int CBaseDlg::LoadIntFromResource()
{
  return LoadResourceInt(kBottomBarHeightString, 0);
}

HWND CBaseDlg::CreateFromTemplate(HWND parent, LPARAM param)
{
  if (!PrepareCreate())
    return nullptr;
  HMODULE library = AppResourceLibrary();
  HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(GetTemplateId(GetOrientation())), RT_DIALOG);
  auto dialogTemplate = found ? static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(library, found))) : nullptr;
  if (!dialogTemplate) {
    AtlRemoveCreateWndData(this);
    return nullptr;
  }
  m_bInitStarted = false;
  HWND hWnd = CreateDialogIndirectParamW(library, dialogTemplate, parent, GetDialogProc(), param);
  AtlRemoveCreateWndData(this);
  return hWnd;
}

int CBaseDlg::ShowDialog(HWND parent, LPARAM param, BOOL modal, BOOL fullScreen)
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  if (IsAlive()) {
    SetWindowPos(nullptr, 0, 0, width, height, SWP_SHOWWINDOW);
    SendMessage(WM_SHOWWINDOW, 1, 1);
    return -1;
  }

  // A modal dialog's loop takes the thread's place for its run; the replaced loop comes back on
  // every way out.
  std::optional<ModalLoopScope> loops;
  if (modal)
    loops.emplace(GetKorvexPortalApp());

  if (m_hWnd)
    return -1;
  HWND hWnd = CreateFromTemplate(parent, param);
  // A dialog that destroyed itself while it initialised was made: it is not made again.
  if (!hWnd && !m_bInitStarted)
    hWnd = CreateFromTemplate(parent, 0);
  if (!hWnd || !IsAlive())
    return 0;

  CDialogMessageLoop loop(m_hWnd, parent);
  if (modal) {
    loops->Register(&loop);
    m_pModalLoop = &loop;
  }
  if (fullScreen)
    SetWindowPos(nullptr, 0, 0, width, height, SWP_SHOWWINDOW);
  if (!modal)
    return -1;
  int result = loop.Run();
  m_pModalLoop = nullptr;
  return result;
}

BOOL CBaseDlg::EndModalLoop(int result)
{
  if (!m_pModalLoop)
    return FALSE;
  m_pModalLoop->Quit(result, GetKorvexPortalApp());
  return TRUE;
}

void CBaseDlg::CloseDialog(int, BOOL raiseParent)
{
  HWND parent = IsAlive() ? GetParent() : nullptr;
  if (raiseParent && parent && ::IsWindow(parent))
    ::SetWindowPos(parent, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  if (!IsAlive())
    return;
  ShowWindow(SW_HIDE);
  ::DestroyWindow(m_hWnd);
}

void CBaseDlg::SetSoftKeyTexts(LPCWSTR text1, LPCWSTR text2, BOOL apply)
{
  LPCWSTR texts[2] = {text1, text2};
  for (int i = 0; i < 2; ++i) {
    if (texts[i]) {
      m_strSoftKeyText[i] = texts[i];
      m_bSoftKeyTextSet[i] = true;
    }
  }
  if (!apply || !IsAlive())
    return;
  int ids[2] = {GetSoftKey1Id(), GetSoftKey2Id()};
  for (int i = 0; i < 2; ++i) {
    if (ids[i] != 0 && m_bSoftKeyTextSet[i])
      SetDlgItemText(ids[i], m_strSoftKeyText[i]);
  }
}

void CBaseDlg::SetTitle(LPCWSTR text, BOOL redraw)
{
  m_strTitle = text ? text : u"";
  if (!redraw || !IsAlive())
    return;
  LoadSkin(m_orientation);
  if (m_titleLabel.IsWindow())
    ::InvalidateRect(m_titleLabel, nullptr, TRUE);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ::UpdateWindow(m_hWnd);
}

void CBaseDlg::SetFullScreenMode(BOOL on)
{
  m_bFullScreen = on != FALSE;
  SetFullScreen(!on, FALSE);
  ModifyStyle(WS_VSCROLL, 0);
}

void CBaseDlg::SetFullScreen(BOOL showBars, BOOL repaint)
{
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  if (showBars) {
    SHFullScreen(m_hWnd, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON);
  } else {
    SHFullScreen(m_hWnd, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
    area.top = 0;
  }
  MoveWindow(&area, repaint);
}

void CBaseDlg::LoadSkin(int orientation)
{
  HBITMAP loaded = LoadResourceBitmap(static_cast<UINT>(GetBackgroundBitmapId(orientation)));
  DeleteBitmap(m_hSkinBitmap);
  DeleteBitmap(m_hBottomBitmap);
  if (IsSkinned()) {
    m_hSkinBitmap = loaded;
  } else if (loaded) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(source, loaded);
    m_hSkinBitmap = CutStrip(screen, source, width, 0, m_titleHeight);
    m_hBottomBitmap = CutStrip(screen, source, width, height - m_bottomBarHeight, m_bottomBarHeight);
    SelectObject(source, previous);
    DeleteDC(source);
    ::ReleaseDC(nullptr, screen);
    DeleteObject(loaded);
  }
  m_bTitleInSkin = false;
  m_strTitleInSkin.Empty();
  ReleaseSkinImages();
  // The title goes into the fresh skin at once, so no control shows the skin without it.
  if (!m_strTitle.IsEmpty())
    DrawTitleIntoSkin();
}

void CBaseDlg::ReleaseSkinImages()
{
  for (CSkinImage* image : {&m_titleLabel.m_background, &m_bottomLabel.m_background, &m_softKey1.m_background,
                            &m_softKey2.m_background, &m_centerKey.m_background})
    image->Release();
  for (ControlLayout& layout : m_layouts)
    if (layout.image)
      layout.image->Release();
}

void CBaseDlg::ReadLayoutString()
{
  m_titleLayout = ParseTitleLayout(LoadResourceString(static_cast<UINT>(GetLayoutStringId())));
  // A title its opener gave the dialog before showing it stays.
  if (!m_strTitle.IsEmpty())
    return;
  if (!m_titleLayout.title.IsEmpty())
    m_strTitle = m_titleLayout.title;
  else
    GetWindowText(m_strTitle);
}

void CBaseDlg::DrawTitleIntoSkin()
{
  if (m_bTitleInSkin) {
    // A skin that holds another title is loaded afresh, which draws the present one.
    if (m_strTitleInSkin != m_strTitle)
      LoadSkin(m_orientation);
    return;
  }
  m_bTitleInSkin = true;
  m_strTitleInSkin = m_strTitle;
  if (!m_hSkinBitmap || m_strTitle.IsEmpty())
    return;
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previousBitmap = SelectObject(memory, m_hSkinBitmap);
  int previousMode = SetBkMode(memory, TRANSPARENT);
  RECT measured{0, 0, 0, 0};
  DrawTextW(memory, m_strTitle, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  int width = measured.right - measured.left;
  int left = m_titleLayout.CenterX(m_orientation) - width / 2;
  int top = m_titleLayout.Top(m_orientation);
  RECT place{left, top, left + width, top + (measured.bottom - measured.top)};
  DrawTextW(memory, m_strTitle, -1, &place, DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(memory, previousMode);
  SelectObject(memory, previousBitmap);
  DeleteDC(memory);
  // The title label shows the strip: it is built afresh with the title in it.
  m_titleLabel.m_background.Release();
  if (m_titleLabel.IsWindow())
    ::InvalidateRect(m_titleLabel, nullptr, TRUE);
}

LRESULT CBaseDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;
  PlaceBars(LOWORD(lParam), HIWORD(lParam));
  return 0;
}

RECT CBaseDlg::WorkingRect()
{
  RECT client{};
  GetClientRect(&client);
  client.top += m_titleHeight;
  client.bottom -= m_bottomBarHeight;
  if (client.bottom < client.top)
    client.bottom = client.top;
  return client;
}

BOOL CBaseDlg::TakeNewSize(LPARAM lParam)
{
  SIZE size{LOWORD(lParam), HIWORD(lParam)};
  if (size.cx == m_lastSize.cx && size.cy == m_lastSize.cy)
    return FALSE;
  m_lastSize = size;
  return TRUE;
}

void CBaseDlg::PlaceBars(int width, int height)
{
  const int bar = m_bottomBarHeight;
  const int key = (width - 8) / 3;
  HWND after = HWND_TOP;
  auto place = [&](HWND window, RECT rect) {
    ::SetWindowPos(window, after, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_SHOWWINDOW);
    after = window;
  };
  // The keys and the bar show the skin behind them: the whole skin when skinned, else the strip
  // of the soft-key bar, whose top is the bar's top.
  auto giveBarImage = [&](CSkinImage& image) {
    if (IsSkinned()) {
      image.Attach(&m_hSkinBitmap, false);
    } else if (m_hBottomBitmap) {
      image.Attach(&m_hBottomBitmap, false);
      image.SetOffset(0, bar - height);
    } else {
      image.SetSource(GetBackgroundColor(), true);
    }
  };
  if (m_titleLabel.IsWindow()) {
    if (m_hSkinBitmap)
      m_titleLabel.m_background.Attach(&m_hSkinBitmap, false);
    place(m_titleLabel, RECT{0, 0, width, m_titleHeight});
  }
  if (GetSoftKey1Id() != 0 && m_softKey1.IsWindow()) {
    giveBarImage(m_softKey1.m_background);
    place(m_softKey1, RECT{2, height - bar, 2 + key, height});
  }
  if (GetSoftKey2Id() != 0 && m_softKey2.IsWindow()) {
    giveBarImage(m_softKey2.m_background);
    place(m_softKey2, RECT{width - key - 2, height - bar, width - 2, height});
  }
  if (GetCenterKeyId() != 0 && m_centerKey.IsWindow()) {
    giveBarImage(m_centerKey.m_background);
    place(m_centerKey, RECT{width - 2 * key - 4, height - bar, width - key - 4, height});
  }
  if (m_bottomLabel.IsWindow()) {
    giveBarImage(m_bottomLabel.m_background);
    place(m_bottomLabel, RECT{0, height - bar, width, height});
  }
}

LRESULT CBaseDlg::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (!m_hSkinBitmap) {
    bHandled = FALSE;
    return 0;
  }
  int orientation = GetOrientation();
  bool recreated = false;
  if (orientation != m_orientation) {
    m_orientation = orientation;
    RecreateForOrientation(orientation);
    if (!IsAlive())
      return 1;
    recreated = true;
    // The content is measured again for the new layout once the dialog is active (a dialog
    // measures only while active): now, or when it is activated.
    m_bOrientationChangedInactive = ::GetActiveWindow() != m_hWnd;
    if (!m_bOrientationChangedInactive)
      PostMessage(WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
  }
  DrawTitleIntoSkin();
  if (!m_hSkinBitmap)
    return 1;

  // The paint began for the window's former size: after a re-creation the whole new client
  // area is painted through the window's own DC.
  HDC windowDc = recreated ? ::GetDC(m_hWnd) : nullptr;
  HDC dc = windowDc ? windowDc : reinterpret_cast<HDC>(wParam);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, m_hSkinBitmap);
  SIZE size{};
  GetBitmapSize(m_hSkinBitmap, &size);
  if (IsSkinned()) {
    BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  } else {
    RECT client{};
    GetClientRect(&client);
    FillSolid(dc, client, GetBackgroundColor());
    BitBlt(dc, 0, 0, size.cx, m_titleHeight, memory, 0, 0, SRCCOPY);
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  if (windowDc) {
    ::ReleaseDC(m_hWnd, windowDc);
    // All of it is painted; what the re-creation invalidated is not painted again.
    ::ValidateRect(m_hWnd, nullptr);
  }
  return 1;
}
