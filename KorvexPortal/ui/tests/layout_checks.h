// Checks of a screen's layout for its tests: whether a label shows its whole text, whether two
// controls overlap on the screen, whether a dialog's content is paged with a scroll bar, and one
// check of the whole shown page (LayoutFaults) that every screen's look test runs at each screen
// size with the input panel down and up (ExpectSoundLayout).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "atl/atl.h"
#include "base_dlg.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

namespace kvtest {

// The screen sizes every look test shows its screens at: portrait and landscape, both densities.
inline constexpr std::pair<int, int> kLookSizes[] = {{240, 320}, {320, 240}, {480, 640}, {640, 480}};

inline std::string SizeName(int width, int height)
{
  return std::to_string(width) + "x" + std::to_string(height);
}

// Whether the window's text, measured in its font, fits its client area: on one line, or wrapped
// at its width within its height.
inline bool ShowsWholeText(HWND window)
{
  WCHAR text[512] = {};
  int length = GetWindowTextW(window, text, 512);
  RECT client{};
  GetClientRect(window, &client);
  if (length == 0)
    return true;
  HDC dc = GetDC(window);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  RECT line{};
  DrawTextW(dc, text, length, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  RECT wrapped{0, 0, client.right, 0};
  DrawTextW(dc, text, length, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (old)
    SelectObject(dc, old);
  ReleaseDC(window, dc);
  if (line.right - line.left <= client.right)
    return true;
  // A control less than two lines high shows one line: its text has to fit it across.
  if (client.bottom < 2 * (line.bottom - line.top))
    return false;
  return wrapped.bottom - wrapped.top <= client.bottom;
}

// Whether the two windows share screen pixels.
inline bool Overlap(HWND first, HWND second)
{
  RECT a{}, b{}, common{};
  GetWindowRect(first, &a);
  GetWindowRect(second, &b);
  return IntersectRect(&common, &a, &b) != FALSE;
}

// Whether a scroll bar shows among the window's children.
inline bool ShowsScrollBar(HWND window)
{
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    WCHAR name[32] = {};
    GetClassNameW(child, name, 32);
    if (std::u16string(name) == WC_SCROLLBARW && IsWindowVisible(child))
      return true;
  }
  return false;
}

// What a screen's test allows of its layout.
struct LayoutRules {
  // Pairs of control ids meant to sit on each other (an overlay on a dialog item, a caption laid
  // over a frame); either order.
  std::vector<std::pair<int, int>> overlays;
};

namespace layout_detail {

inline std::u16string ClassOf(HWND window)
{
  WCHAR name[64] = {};
  GetClassNameW(window, name, 64);
  std::u16string text(name);
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z')
      c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}

inline RECT ScreenRect(HWND window)
{
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

inline std::string Describe(HWND window)
{
  WCHAR text[64] = {};
  GetWindowTextW(window, text, 64);
  RECT r = ScreenRect(window);
  return "control " + std::to_string(GetDlgCtrlID(window)) + " (" + Narrow(ClassOf(window)) + " \"" +
         Narrow(text) + "\" at " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

inline bool IsListView(HWND window)
{
  return ClassOf(window).find(u"listview") != std::u16string::npos;
}

// The part of the window's client area that shows on the screen: cut by the client areas of the
// windows it is a child of and kept above the bottom limit (screen coordinates).
inline RECT ShownClient(HWND window, int bottomLimit)
{
  RECT shown{};
  GetClientRect(window, &shown);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&shown), 2);
  // Up to the top-level window (whose parent is its owner, which does not clip it).
  for (HWND child = window, parent = GetParent(window); parent && (GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
       child = parent, parent = GetParent(parent)) {
    RECT client{};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&shown, &shown, &client);
  }
  if (shown.bottom > bottomLimit)
    shown.bottom = bottomLimit;
  return shown;
}

// Empty when the last row of the list can be scrolled whole into the part of the list that
// shows above the bottom limit; otherwise where the row and that part lie. The list is scrolled
// back to its first row afterwards.
inline std::string LastRowFault(HWND list, int bottomLimit)
{
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (count <= 0)
    return {};
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&row));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
  RECT shown = ShownClient(list, bottomLimit);
  SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
  if (row.bottom > row.top && row.top >= shown.top && row.bottom <= shown.bottom)
    return {};
  return "row " + std::to_string(count - 1) + " at " + std::to_string(row.top) + "-" + std::to_string(row.bottom) +
         ", shown " + std::to_string(shown.top) + "-" + std::to_string(shown.bottom);
}

// Whether the window is a page of the dialog: a visible child dialog that holds fields of its own.
inline bool IsPageOf(HWND window, HWND dialog)
{
  WCHAR name[16] = {};
  return window && GetParent(window) == dialog && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) &&
         IsWindowVisible(window) && GetClassNameW(window, name, 16) && std::u16string(name) == WC_DIALOG;
}

// Whether the window is an edit of the dialog's own or of one of its pages.
inline bool IsFieldOf(HWND window, HWND dialog)
{
  if (!window || ClassOf(window) != u"edit")
    return false;
  HWND parent = GetParent(window);
  return parent == dialog || IsPageOf(parent, dialog);
}

inline void CollectLists(HWND parent, std::vector<HWND>& lists)
{
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child))
      continue;
    if (IsListView(child))
      lists.push_back(child);
    CollectLists(child, lists);
  }
}

// A dialog's client area (screen coordinates), the bottom of its title strip and the top of its
// soft-key bar, its visible scroll bars and the visible controls of its content: its children
// less the bars, the soft keys, the scroll bars and the strips over a skinned edit's frame.
struct DialogParts {
  RECT client{};
  int titleBottom = 0;
  int barTop = 0;
  std::vector<HWND> controls;
  std::vector<HWND> scrollBars;
};

inline DialogParts PartsOf(CBaseDlg& dialog)
{
  DialogParts parts;
  HWND dlg = dialog.m_hWnd;
  GetClientRect(dlg, &parts.client);
  MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&parts.client), 2);
  constexpr int kBarId = 1047;
  const int keyIds[] = {dialog.GetSoftKey1Id(), dialog.GetSoftKey2Id(), dialog.GetCenterKeyId()};
  parts.titleBottom = parts.client.top;
  parts.barTop = parts.client.bottom;
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child))
      continue;
    int id = GetDlgCtrlID(child);
    RECT rect = ScreenRect(child);
    std::u16string name = ClassOf(child);
    bool key = id != 0 && std::find(std::begin(keyIds), std::end(keyIds), id) != std::end(keyIds);
    if (id == kBarId && name == u"static") {
      if (rect.top <= parts.client.top)
        parts.titleBottom = std::max<int>(parts.titleBottom, rect.bottom);
      else
        parts.barTop = std::min<int>(parts.barTop, rect.top);
    } else if (name == u"scrollbar") {
      parts.scrollBars.push_back(child);
    } else if (name != u"kveditborder" && !key && !IsRectEmpty(&rect)) {
      parts.controls.push_back(child);
    }
  }
  return parts;
}

}  // namespace layout_detail

// The faults of the dialog's shown page, one line each (none when the layout is sound):
// - every visible control of the shown page lies inside the dialog's client area, below the title
//   strip and above the soft-key bar (controls of later pages lie below the shown band, and with
//   the input panel up those it hides, by design; on paged content the last page may show the
//   lower part of a control of the page before it);
// - no two visible controls of the page overlap, unless the rules say they are meant to;
// - a label's text fits it: across on one line, or wrapped within its height;
// - with the input panel up, the focused edit (the dialog's own or one of a page's) shows whole
//   between the title and the panel;
// - the last row of every list on the page can be scrolled whole into view.
// The dialog's bars, soft keys, scroll bar and the strips over a skinned edit's frame are the
// base's own and are not the page's controls. Run on the dialog's thread.
inline std::vector<std::string> LayoutFaults(CBaseDlg& dialog, const LayoutRules& rules = {})
{
  using namespace layout_detail;
  std::vector<std::string> faults;
  HWND dlg = dialog.m_hWnd;
  DialogParts parts = PartsOf(dialog);
  const RECT& client = parts.client;
  const int titleBottom = parts.titleBottom;
  const int barTop = parts.barTop;
  const std::vector<HWND>& controls = parts.controls;
  const std::vector<HWND>& scrollBars = parts.scrollBars;
  SIPINFO sip{};
  sip.cbSize = sizeof(SIPINFO);
  bool sipUp = SipGetInfo(&sip) && (sip.fdwFlags & SIPF_ON);
  int shownBottom = sipUp ? std::min<int>(barTop, sip.rcSipRect.top) : barTop;

  bool paged = false;
  for (HWND bar : scrollBars)
    paged = paged || GetParent(bar) == dlg;

  // The controls of the shown page: those reaching into the band between the title and the bar
  // (or the panel).
  std::vector<HWND> page;
  for (HWND control : controls) {
    RECT rect = ScreenRect(control);
    if (rect.bottom <= titleBottom || rect.top >= shownBottom)
      continue;
    page.push_back(control);
    // The last page of paged content ends at the bottom of the shown band, so it may start inside
    // a control of the page before, which then shows in part below the title.
    bool partOfPageBefore = paged && rect.top < titleBottom;
    if (rect.left < client.left || rect.right > client.right || (rect.top < titleBottom && !partOfPageBefore) ||
        rect.bottom > barTop)
      faults.push_back(Describe(control) + " lies outside the page between the title and the soft-key bar");
    for (HWND bar : scrollBars)
      if (Overlap(control, bar))
        faults.push_back(Describe(control) + " lies under the scroll bar");
    if (ClassOf(control) == u"static" && !ShowsWholeText(control))
      faults.push_back(Describe(control) + " does not show its whole text");
  }
  auto allowed = [&](int a, int b) {
    for (auto [first, second] : rules.overlays)
      if ((first == a && second == b) || (first == b && second == a))
        return true;
    return false;
  };
  for (size_t i = 0; i < page.size(); ++i)
    for (size_t j = i + 1; j < page.size(); ++j)
      if (Overlap(page[i], page[j]) && !allowed(GetDlgCtrlID(page[i]), GetDlgCtrlID(page[j])))
        faults.push_back(Describe(page[i]) + " overlaps " + Describe(page[j]));

  if (sipUp) {
    HWND focus = GetFocus();
    if (IsFieldOf(focus, dlg)) {
      RECT rect = ScreenRect(focus);
      // An edit of a page shows only inside the page's client area.
      RECT area = ShownClient(GetParent(focus), shownBottom);
      RECT cut{};
      IntersectRect(&cut, &rect, &area);
      if (!IsWindowVisible(focus) || rect.top < titleBottom || rect.bottom > shownBottom || rect.left < client.left ||
          rect.right > client.right || !EqualRect(&cut, &rect))
        faults.push_back("the focused " + Describe(focus) + " is not shown above the input panel");
    }
  }

  std::vector<HWND> lists;
  CollectLists(dlg, lists);
  for (HWND list : lists) {
    RECT rect = ScreenRect(list);
    if (rect.bottom <= titleBottom || rect.top >= shownBottom || IsRectEmpty(&rect))
      continue;
    if (ShownClient(list, client.bottom).bottom > barTop)
      faults.push_back("list " + Describe(list) + " runs under the soft-key bar");
    std::string lastRow = LastRowFault(list, barTop);
    if (!lastRow.empty())
      faults.push_back("the last row of list " + Describe(list) + " cannot be scrolled whole into view: " + lastRow);
  }
  return faults;
}

// Where the content's controls are (screen coordinates).
using ControlPlaces = std::vector<std::pair<HWND, RECT>>;

inline ControlPlaces PlacesOf(CBaseDlg& dialog)
{
  ControlPlaces places;
  for (HWND control : layout_detail::PartsOf(dialog).controls)
    places.emplace_back(control, layout_detail::ScreenRect(control));
  return places;
}

// The controls that did not move with the rest of the content between two layouts (the content
// paged or moved for the input panel): each control still shown in both moved by the same
// offset as most of them.
inline std::vector<std::string> ControlsLeftBehind(const ControlPlaces& before, const ControlPlaces& after)
{
  std::vector<std::pair<HWND, POINT>> moves;
  for (const auto& [control, from] : before)
    for (const auto& [same, to] : after)
      if (same == control)
        moves.emplace_back(control, POINT{to.left - from.left, to.top - from.top});
  std::vector<std::string> faults;
  if (moves.empty())
    return faults;
  auto count = [&](POINT move) {
    return std::count_if(moves.begin(), moves.end(),
                         [&](const auto& m) { return m.second.x == move.x && m.second.y == move.y; });
  };
  POINT common = moves.front().second;
  for (const auto& m : moves)
    if (count(m.second) > count(common))
      common = m.second;
  for (const auto& [control, move] : moves)
    if (move.x != common.x || move.y != common.y)
      faults.push_back(layout_detail::Describe(control) + " moved by " + std::to_string(move.x) + "," +
                       std::to_string(move.y) + " where the content moved by " + std::to_string(common.x) + "," +
                       std::to_string(common.y));
  return faults;
}

// The visible edits of the dialog, its own and those of its shown pages, top to bottom.
inline std::vector<HWND> EditsOf(HWND dialog)
{
  std::vector<HWND> edits;
  auto collect = [&](HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (IsWindowVisible(child) && IsWindowEnabled(child) && layout_detail::ClassOf(child) == u"edit")
        edits.push_back(child);
  };
  collect(dialog);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (layout_detail::IsPageOf(child, dialog))
      collect(child);
  std::sort(edits.begin(), edits.end(),
            [](HWND a, HWND b) { return layout_detail::ScreenRect(a).top < layout_detail::ScreenRect(b).top; });
  return edits;
}

// Checks the shown dialog's layout with the input panel down, then with it up while each of its
// edits (and its shown pages' edits) in turn has the focus (and that its controls all moved together), then down again; the
// panel ends down with the focus where it was.
// Takes a screenshot under the name (with the panel up as name + "_typing" when the dialog has
// an edit) unless the name is empty.
inline void ExpectSoundLayout(UiThread& ui, CBaseDlg& dialog, const std::string& name,
                              const LayoutRules& rules = {})
{
  ControlPlaces down;
  auto expectNone = [&](const char* state) {
    std::vector<std::string> faults;
    ui.Invoke([&] {
      faults = LayoutFaults(dialog, rules);
      if (down.empty())
        return;
      for (const std::string& fault : ControlsLeftBehind(down, PlacesOf(dialog)))
        faults.push_back(fault);
    });
    for (const std::string& fault : faults)
      ADD_FAILURE() << name << ", " << state << ": " << fault;
    if (!faults.empty())
      std::cout << "The windows of " << name << ", " << state << ":\n" << DumpWindowTree(dialog.m_hWnd);
  };
  ui.Invoke([] { SipShowIM(SIPF_OFF); });
  ASSERT_TRUE(RunUntilIdle());
  expectNone("input panel down");
  if (!name.empty()) {
    EXPECT_FALSE(SaveScreenshot(name).empty());
  }
  HWND focus = nullptr;
  std::vector<HWND> edits;
  ui.Invoke([&] {
    focus = GetFocus();
    edits = EditsOf(dialog.m_hWnd);
    down = PlacesOf(dialog);
  });
  if (edits.empty())
    return;
  for (HWND edit : edits) {
    ui.Invoke([&] {
      SetFocus(edit);
      SipShowIM(SIPF_ON);
    });
    ASSERT_TRUE(RunUntilIdle());
    expectNone(("input panel up, focus on " + layout_detail::Describe(edit)).c_str());
  }
  if (!name.empty()) {
    EXPECT_FALSE(SaveScreenshot(name + "_typing").empty());
  }
  ui.Invoke([&] {
    if (focus && IsWindow(focus))
      SetFocus(focus);
    SipShowIM(SIPF_OFF);
  });
  ASSERT_TRUE(RunUntilIdle());
  expectNone("input panel down again");
}

}  // namespace kvtest
