// The owner-drawn list and the paged list on a real list view: rebuilding from the model, row
// height by screen width, drawing of rows, cells and the selection bar, thumb scrolling, and the
// paged list's keys and taps with the page requests they post to the parent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_services.h"
#include "bitmap_file.h"
#include "korvex_list_view.h"
#include "paged_list_view.h"
#include "test_resource_library.h"
#include "testing/device_root.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"

namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr COLORREF kSeparator = 0xE1E1E1;
constexpr COLORREF kBarLeft = RGB(255, 0, 0);
constexpr COLORREF kBarMiddle = RGB(200, 220, 255);
constexpr COLORREF kBarRight = RGB(0, 255, 0);
constexpr int kListHeight = 160;  // five rows of 32 pixels

// Records the page requests it is posted and reflects its children's notifications.
class ListParent : public CWindowImpl<ListParent, CWindow, CWinTraits<WS_POPUP | WS_VISIBLE>> {
 public:
  BEGIN_MSG_MAP(ListParent)
    MESSAGE_RANGE_HANDLER(WM_KV_LIST_NEXTPAGE, WM_KV_LIST_OPENITEM, OnRequest)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  LRESULT OnRequest(UINT uMsg, WPARAM, LPARAM, BOOL&)
  {
    requests.push_back(uMsg);
    return 0;
  }
  std::vector<UINT> Take() { return std::exchange(requests, {}); }

  std::vector<UINT> requests;
};

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    library = kvtest::MakeResourceLibrary(root, "ListRes",
                                          "1022 BITMAP \"middle.bmp\"\n1023 BITMAP \"left.bmp\"\n"
                                          "1024 BITMAP \"right.bmp\"\n",
                                          {{"middle.bmp", kvtest::BmpFile(1, 24, kBarMiddle)},
                                           {"left.bmp", kvtest::BmpFile(4, 24, kBarLeft)},
                                           {"right.bmp", kvtest::BmpFile(4, 24, kBarRight)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  void TearDown() override
  {
    kvtest::DestroyThreadWindows();
    for (CListRow* row : model.m_rows)
      delete row;
  }

  // Shows the parent with a list of the given kind filling its top, on the model.
  template <class List>
  List& Show(DWORD style = 0x40016405 | WS_VISIBLE, int height = kListHeight)
  {
    parent.Create(nullptr, RECT{0, 0, 240, 320});
    auto* list = new List;
    list_.reset(list);
    EXPECT_NE(nullptr, list->Create(parent, RECT{0, 0, 240, height}, nullptr, style, 0, 100));
    list->SetModel(&model);
    ::SetFocus(*list);
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return *list;
  }

  // Rows whose cell 0 holds a marker (so they can show the selection bar) and cell 1 a text.
  void AddRows(int count, int firstNumber = 0)
  {
    model.m_columnWidths = {20, 140, 80};
    for (int i = 0; i < count; ++i) {
      auto* row = new CListRow;
      row->AddCell(new CListCell);
      row->GetCell(0)->m_strText = u"*";
      row->AddCell(new CListCell);
      row->GetCell(1)->m_strText.Format(u"一二三 %d", firstNumber + i);
      model.AddRow(row);
    }
  }

  COLORREF Pixel(HWND window, int x, int y)
  {
    HDC dc = ::GetDC(window);
    COLORREF color = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return color;
  }
  // How many pixels of the rectangle have the colour.
  int Count(HWND window, RECT rect, COLORREF color)
  {
    HDC dc = ::GetDC(window);
    int found = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        found += ::GetPixel(dc, x, y) == color;
    ::ReleaseDC(window, dc);
    return found;
  }
  // Whether a pixel of the rectangle is within a small distance of the colour (text is smoothed).
  bool HasInkNear(HWND window, RECT rect, COLORREF color)
  {
    auto near = [color](COLORREF c) {
      return std::abs(GetRValue(c) - GetRValue(color)) < 24 && std::abs(GetGValue(c) - GetGValue(color)) < 24 &&
             std::abs(GetBValue(c) - GetBValue(color)) < 24;
    };
    HDC dc = ::GetDC(window);
    bool found = false;
    for (int y = rect.top; y < rect.bottom && !found; ++y)
      for (int x = rect.left; x < rect.right && !found; ++x)
        found = near(::GetPixel(dc, x, y));
    ::ReleaseDC(window, dc);
    return found;
  }
  POINT RowPoint(int index) { return POINT{100, 32 * index + 16}; }

  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  HMODULE library = nullptr;
  CListRows model;
  ListParent parent;
  std::unique_ptr<CKorvexListView> list_;
};

TEST_F(ListViewTest, RebuildFillsColumnsRowsPaddingAndSelectionFromTheModel)
{
  AddRows(3);
  model.m_nSelected = 1;
  parent.Create(nullptr, RECT{0, 0, 240, 320});
  CKorvexListView list;
  ASSERT_NE(nullptr, list.Create(parent, RECT{0, 0, 240, kListHeight}, nullptr, 0, 0, 100));
  EXPECT_EQ(0x40016405u, list.GetStyle()) << "style 0 is the list's own";
  EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT), list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
  list.SetModel(&model);
  list.Rebuild();  // twice: nothing doubles

  auto columns = [&] {
    std::vector<int> widths;
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    for (int i = 0; list.GetColumn(i, &column); ++i)
      widths.push_back(column.cx);
    return widths;
  };
  auto data = [&] {
    std::vector<LPARAM> items;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = i;
      list.GetItem(&item);
      items.push_back(item.lParam);
    }
    return items;
  };
  auto row = [&](int i) { return reinterpret_cast<LPARAM>(model.m_rows[static_cast<size_t>(i)]); };
  EXPECT_EQ((std::vector<int>{20, 140, 80}), columns());
  EXPECT_EQ((std::vector<LPARAM>{row(0), row(1), row(2), 0, 0}), data()) << "blank items pad the page";
  EXPECT_EQ(1, list.GetSelectedIndex());

  // A smaller model with a minimum page size; a selection beyond the rows selects nothing.
  delete model.m_rows.back();
  model.m_rows.pop_back();
  model.m_columnWidths = {0, 200};
  model.m_nSelected = 4;
  list.SetMinRowsPerPage(7);
  list.Rebuild();
  EXPECT_EQ((std::vector<int>{0, 200}), columns());
  EXPECT_EQ((std::vector<LPARAM>{row(0), row(1), 0, 0, 0, 0, 0}), data());
  EXPECT_EQ(-1, list.GetSelectedIndex());

  CKorvexListView bare;
  ASSERT_NE(nullptr, bare.Create(parent, RECT{0, 0, 240, kListHeight}, nullptr, 0, 0, 101));
  LVCOLUMNW column{LVCF_WIDTH, 0, 50, nullptr, 0, 0, 0, 0};
  bare.InsertColumn(0, &column);
  bare.Rebuild();
  EXPECT_EQ(1, bare.GetColumn(0, &column) ? 1 : 0) << "without a model the control stays as it is";
  EXPECT_EQ(0, bare.GetItemCount());
  parent.DestroyWindow();
}

TEST_F(ListViewTest, RowHeightFollowsTheScreenWidth)
{
  struct Case {
    int width, height, rowHeight;
  };
  for (const Case& c : {Case{240, 320, 32}, Case{480, 640, 64}, Case{320, 240, 32}}) {
    kvtest::SetScreenSize(c.width, c.height);
    AddRows(1);
    CKorvexListView& list = Show<CKorvexListView>();
    RECT bounds{};
    ASSERT_TRUE(list.GetItemRect(0, &bounds, LVIR_BOUNDS));
    EXPECT_EQ(c.rowHeight, bounds.bottom - bounds.top) << c.width << "x" << c.height;
    kvtest::DestroyThreadWindows();
    list_.reset();
    for (CListRow* row : model.m_rows)
      delete row;
    model.m_rows.clear();
  }
}

TEST_F(ListViewTest, DrawsRowsCellsSeparatorAndTheSelectionBar)
{
  AddRows(2);
  model.m_nSelected = 0;
  // Row 2: cell 0 empty, an image cell with a white border around a black square.
  auto* pictured = new CListRow;
  pictured->AddCell(new CListCell);
  pictured->AddCell(new CListCell);
  pictured->GetCell(1)->m_strText = u"图片";
  pictured->AddCell(new CListCell);
  pictured->GetCell(2)->m_nKind = CListCell::kImage;
  {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP image = ::CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = ::SelectObject(dc, image);
    RECT all{0, 0, 8, 8}, inner{2, 2, 6, 6};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FillRect(dc, &inner, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    pictured->GetCell(2)->m_hImage = image;
  }
  model.AddRow(pictured);
  // Row 3: cell 0 set, column 1 a cell of another kind, column 2 an image cell without an image.
  auto* empty = new CListRow;
  empty->AddCell(new CListCell);
  empty->GetCell(0)->m_strText = u"*";
  empty->AddCell(new CListCell);
  empty->GetCell(1)->m_nKind = 2;
  empty->GetCell(1)->m_strText = u"不画";
  empty->AddCell(new CListCell);
  empty->GetCell(2)->m_nKind = CListCell::kImage;
  model.AddRow(empty);

  CKorvexListView& list = Show<CKorvexListView>();
  kvtest::SaveScreenshot("korvex_list_view", parent);

  // Row 0: selected and focused, so the bar runs left, middle, right at y 4..27.
  EXPECT_EQ(kBackground, Pixel(list, 100, 2));
  EXPECT_EQ(kBarLeft, Pixel(list, 1, 4));
  EXPECT_EQ(kBarMiddle, Pixel(list, 100, 4));
  EXPECT_EQ(kBarMiddle, Pixel(list, 235, 27));
  EXPECT_EQ(kBarRight, Pixel(list, 238, 4));
  EXPECT_EQ(kSeparator, Pixel(list, 100, 31));
  EXPECT_TRUE(HasInkNear(list, RECT{22, 4, 160, 28}, 0xCC0C01)) << "selected text in the selection colour";
  // Row 1: plain, text in the list's text colour.
  EXPECT_EQ(kBackground, Pixel(list, 100, 36));
  EXPECT_EQ(kSeparator, Pixel(list, 10, 63));
  EXPECT_TRUE(HasInkNear(list, RECT{22, 36, 160, 60}, list.GetTextColor()));
  EXPECT_FALSE(HasInkNear(list, RECT{22, 36, 160, 60}, 0xCC0C01));
  // Row 2: the image centred in column 2 (160..240), its white border left out.
  EXPECT_EQ(RGB(0, 0, 0), Pixel(list, 199, 64 + 15));
  EXPECT_EQ(kBackground, Pixel(list, 196, 64 + 12)) << "white is transparent";
  // Row 3: neither cell draws anything.
  EXPECT_EQ(140 * 31, Count(list, RECT{20, 96, 160, 127}, kBackground))
      << "the text of a cell of another kind is not drawn";
  EXPECT_EQ(80 * 31, Count(list, RECT{160, 96, 240, 127}, kBackground));
  // Row 4: a blank item, no separator.
  EXPECT_EQ(kBackground, Pixel(list, 100, 159));

  // Row 2 selected: its cell 0 is empty, so no bar even with the focus.
  list.SelectItem(2);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(kBackground, Pixel(list, 100, 64 + 4));
  // Row 1 selected without the focus: no bar either.
  list.SelectItem(1);
  ::SetFocus(parent);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(kBackground, Pixel(list, 100, 32 + 4));
  // Drawing switched off leaves the rows alone.
  list.EnableDrawing(FALSE);
  ::SetFocus(list);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(kBackground, Pixel(list, 100, 32 + 4));
}

TEST_F(ListViewTest, ThumbScrollingMovesTheListByTheThumbAndOtherCodesGoToTheList)
{
  AddRows(10);
  CKorvexListView& list = Show<CKorvexListView>((0x40016405 & ~LVS_NOSCROLL) | WS_VSCROLL | WS_VISIBLE);
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
  EXPECT_EQ(3, list.SendMessage(LVM_GETTOPINDEX));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1));
  EXPECT_EQ(1, list.SendMessage(LVM_GETTOPINDEX));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  EXPECT_EQ(2, list.SendMessage(LVM_GETTOPINDEX));
}

class PagedListTest : public ListViewTest {};

TEST_F(PagedListTest, KeysPostPageAndOpenRequests)
{
  struct Case {
    UINT key;
    UINT request;
  };
  AddRows(5);
  model.m_nSelected = 2;
  CKorvexListView& list = Show<CPagedListView>();
  for (const Case& c : {Case{VK_RETURN, WM_KV_LIST_OPENITEM}, Case{VK_LEFT, WM_KV_LIST_PREVPAGE},
                        Case{VK_RIGHT, WM_KV_LIST_NEXTPAGE}}) {
    ASSERT_TRUE(kvtest::PressKey(c.key));
    EXPECT_EQ(std::vector<UINT>{c.request}, parent.Take()) << "key " << c.key;
  }
  ASSERT_TRUE(kvtest::PressKey(VK_UP));
  EXPECT_EQ(1, list.GetSelectedIndex());
  EXPECT_EQ(1, model.m_nSelected);
  EXPECT_TRUE(parent.Take().empty());
}

TEST_F(PagedListTest, DownOnTheLastRowOfAFullPageAsksForTheNextPageOnce)
{
  AddRows(5);  // exactly one page
  model.m_nSelected = 0;
  CKorvexListView& list = Show<CPagedListView>();
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
    EXPECT_EQ(i, list.GetSelectedIndex());
    EXPECT_EQ(i, model.m_nSelected);
  }
  EXPECT_TRUE(parent.Take().empty());
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  EXPECT_EQ(std::vector<UINT>{WM_KV_LIST_NEXTPAGE}, parent.Take());
  EXPECT_EQ(0, model.m_nSelected) << "the remembered row starts again at 0";
}

TEST_F(PagedListTest, SelectionNeverRestsOnPaddingRows)
{
  AddRows(3);
  model.m_nSelected = 1;
  CKorvexListView& list = Show<CPagedListView>();
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  EXPECT_EQ(2, list.GetSelectedIndex()) << "down from the last data row stays on it";
  EXPECT_EQ(2, model.m_nSelected);
  EXPECT_TRUE(parent.Take().empty()) << "a short page has no next page";

  ASSERT_TRUE(kvtest::TapWindow(list, RowPoint(4)));
  EXPECT_EQ(2, list.GetSelectedIndex()) << "a tap on padding keeps the row";
  EXPECT_TRUE(parent.Take().empty());

  ASSERT_TRUE(kvtest::TapWindow(list, RowPoint(0)));
  EXPECT_EQ(0, list.GetSelectedIndex());
  EXPECT_EQ(0, model.m_nSelected);
  EXPECT_EQ(std::vector<UINT>{WM_KV_LIST_OPENITEM}, parent.Take());
}

TEST_F(PagedListTest, AnEmptyPageKeepsNoSelection)
{
  model.m_columnWidths = {20, 200};
  CKorvexListView& list = Show<CPagedListView>();
  ASSERT_TRUE(kvtest::TapWindow(list, RowPoint(1)));
  EXPECT_EQ(-1, list.GetSelectedIndex());
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  EXPECT_EQ(-1, list.GetSelectedIndex());
  EXPECT_TRUE(parent.Take().empty());
}

TEST_F(PagedListTest, ClearingTheRowsLeavesNoItemPointingAtAFreedRow)
{
  AddRows(3);
  model.m_nSelected = 1;
  auto& list = static_cast<CPagedListView&>(Show<CPagedListView>());
  ASSERT_EQ(model.m_rows[1], list.GetItemData(1));

  model.Clear();
  EXPECT_TRUE(model.m_rows.empty());
  EXPECT_EQ(-1, model.m_nSelected);
  ASSERT_EQ(5, list.GetItemCount()) << "the page keeps its padding";
  for (int i = 0; i < list.GetItemCount(); ++i)
    EXPECT_EQ(nullptr, list.GetItemData(i)) << "item " << i;
  EXPECT_EQ(-1, list.GetSelectedIndex());
  // What an owner does next reads no freed row (the sanitizer would tell): paint, open, page.
  ::InvalidateRect(list, nullptr, TRUE);
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  EXPECT_EQ(nullptr, list.GetItemData(list.GetSelectedIndex()));
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  ASSERT_TRUE(kvtest::TapWindow(list, RowPoint(0)));
  EXPECT_EQ(-1, list.GetSelectedIndex());

  // A model that goes away first takes its items with it; the owner then deletes its rows.
  auto other = std::make_unique<CListRows>();
  other->m_columnWidths = {20, 200};
  auto* row = new CListRow;
  other->AddRow(row);
  list.SetModel(other.get());
  ASSERT_EQ(row, list.GetItemData(0));
  other.reset();
  EXPECT_EQ(nullptr, list.GetModel());
  EXPECT_EQ(0, list.GetItemCount());
  delete row;
}

}  // namespace
