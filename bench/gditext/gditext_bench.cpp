// A screen's worth of Chinese text at 480 x 640: 24 paragraphs of mixed text wrapped into the
// width, measured, laid out and drawn into a memory DC. The goal table compares the layout with
// the measure it builds on and the drawing with a memcpy of the frame, the floor of any pass
// over the screen (ratios only: no bound is set).
#include "goal_report.h"
#include "internal/gdi/text_font.h"
#include "internal/gdi/text_layout.h"
#include "windows.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 480, kHeight = 640;

std::u16string ScreenText()
{
  std::u16string text;
  for (int i = 0; i < 24; ++i)
    text += u"交易号 2024031512345678 付款给商户：北京某某科技有限公司，金额 128.50 元，状态：等待买家付款。\n";
  return text;
}

void MeasureScreen(benchmark::State& state)
{
  auto font = kv::fonts::Font::Get({-24, 400, false, u"宋体"});
  const std::u16string text = ScreenText();
  for (auto _ : state)
    benchmark::DoNotOptimize(font->Width(text));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(MeasureScreen);

void LayOutScreen(benchmark::State& state)
{
  auto font = kv::fonts::Font::Get({-24, 400, false, u"宋体"});
  const std::u16string text = ScreenText();
  for (auto _ : state)
    benchmark::DoNotOptimize(kv::fonts::LayOutText(text, RECT{0, 0, kWidth, kHeight}, DT_WORDBREAK | DT_NOPREFIX, *font));
}
BENCHMARK(LayOutScreen);

void DrawScreen(benchmark::State& state)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
  HGDIOBJ old = SelectObject(dc, bitmap);
  LOGFONTW record{};
  GetObject(GetStockObject(SYSTEM_FONT), sizeof record, &record);
  record.lfHeight = -24;
  HFONT font = CreateFontIndirect(&record);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, state.range(0) ? OPAQUE : TRANSPARENT);
  const std::u16string text = ScreenText();
  for (auto _ : state) {
    RECT rect{0, 0, kWidth, kHeight};
    benchmark::DoNotOptimize(DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_WORDBREAK | DT_NOPREFIX));
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
BENCHMARK(DrawScreen)->Arg(0)->Arg(1)->ArgName("opaque");

void MemcpyFrame(benchmark::State& state)
{
  std::vector<uint32_t> from(kWidth * kHeight, 0x00336699), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MemcpyFrame);

}  // namespace

int main(int argc, char** argv)
{
  return goal_report::Run(argc, argv,
                          {{"lay out vs measure", "LayOutScreen", "MeasureScreen"},
                           {"draw, transparent vs memcpy of frame", "DrawScreen/opaque:0", "MemcpyFrame"},
                           {"draw, opaque vs memcpy of frame", "DrawScreen/opaque:1", "MemcpyFrame"}});
}
