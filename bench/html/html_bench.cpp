// Twenty messages of the message list's page in one document at 480 x 640 (192 dots per inch):
// parsed, laid out and painted into a memory DC as the viewer does; laid out again; and the
// layout library's own layout of the same document, the peer that the goal table compares
// with (ratios only: no bound is set).
#include "goal_report.h"
#include "html/page/gdi_container.h"
#include "html/page/master_style.h"
#include "internal/html/page.h"
#include "testing/device_root.h"
#include "windows.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kWidth = 480, kHeight = 640, kDpi = 192;

kv::html::PageSettings Settings()
{
  kv::html::PageSettings settings;
  settings.dpi = kDpi;
  return settings;
}

std::string MessagesPage()
{
  std::string html = "<html><body>";
  for (int i = 0; i < 20; ++i)
    html += "<br/>标题：订单 2024031512345" + std::to_string(100 + i) +
            " 已付款<br/><br/>时间：2024-03-15 12:30:00<br/><br/><hr/><br/>"
            "尊敬的用户，您在<b>北京某某科技有限公司</b>的订单（交易号 2024031512345678）已付款 "
            "<font color=\"red\">128.50</font> 元，请留意商户的发货通知。如有疑问请致电客服 "
            "４００－８８８－８８８８，或访问 <a href=\"http://pay.example.cn/trade?id=" +
            std::to_string(i) + "&amp;from=msg\">交易详情</a>。";
  return html + "</body></html>";
}

struct Screen {
  device::testing::ScopedDeviceRoot root;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ~Screen()
  {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

void PageParsedLaidOutAndPainted(benchmark::State& state)
{
  Screen screen;
  const std::string html = MessagesPage();
  for (auto _ : state) {
    kv::html::Page page(html, Settings());
    page.LayOut(kWidth, kHeight);
    page.Paint(screen.dc, POINT{0, 0}, RECT{0, 0, kWidth, kHeight});
    benchmark::DoNotOptimize(page.Height());
  }
}
BENCHMARK(PageParsedLaidOutAndPainted)->Unit(benchmark::kMillisecond);

void PageLaidOutAgainAndPainted(benchmark::State& state)
{
  Screen screen;
  kv::html::Page page(MessagesPage(), Settings());
  page.LayOut(kWidth, kHeight);
  for (auto _ : state) {
    page.LayOut(kWidth, kHeight);
    page.Paint(screen.dc, POINT{0, 0}, RECT{0, 0, kWidth, kHeight});
  }
}
BENCHMARK(PageLaidOutAgainAndPainted)->Unit(benchmark::kMillisecond);

void PagePainted(benchmark::State& state)
{
  Screen screen;
  kv::html::Page page(MessagesPage(), Settings());
  page.LayOut(kWidth, kHeight);
  for (auto _ : state)
    page.Paint(screen.dc, POINT{0, 0}, RECT{0, 0, kWidth, kHeight});
}
BENCHMARK(PagePainted)->Unit(benchmark::kMillisecond);

// The layout library alone: the parsed document rendered to the width, nothing painted.
void LibraryLayoutOnly(benchmark::State& state)
{
  Screen screen;
  litehtml::context context;
  context.load_master_stylesheet(kv::html::kMasterStyle);
  kv::html::GdiContainer container(Settings());
  container.SetView(kWidth, kHeight);
  const std::string html = MessagesPage();
  auto document = litehtml::document::createFromUTF8(html.c_str(), &container, &context);
  for (auto _ : state)
    benchmark::DoNotOptimize(document->render(kWidth));
}
BENCHMARK(LibraryLayoutOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
  return goal_report::Run(
      argc, argv,
      {{"parsed, laid out, painted vs library layout", "PageParsedLaidOutAndPainted", "LibraryLayoutOnly"},
       {"laid out again, painted vs library layout", "PageLaidOutAgainAndPainted", "LibraryLayoutOnly"},
       {"painted vs library layout", "PagePainted", "LibraryLayoutOnly"}});
}
