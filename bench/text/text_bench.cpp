#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cwchar>
#include <string>

#include "text/text.h"

namespace {

// A log entry's header line, as every subsystem writes it.
void LogHeader(benchmark::State& state)
{
  CStringW line;
  for (auto _ : state) {
    line.Format(u"%s(%d): %04d/%02d/%02d %02d:%02d:%02d %08x", ".\\LoginDlg.cpp", 412, 2024, 5, 17, 9, 3, 59, 0x57u);
    benchmark::DoNotOptimize(line.GetString());
  }
}
BENCHMARK(LogHeader);

void LogHeaderCLibrary(benchmark::State& state)
{
  wchar_t line[128];
  for (auto _ : state) {
    std::swprintf(line, 128, L"%s(%d): %04d/%02d/%02d %02d:%02d:%02d %08x", ".\\LoginDlg.cpp", 412, 2024, 5, 17, 9, 3,
                  59, 0x57u);
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(LogHeaderCLibrary);

// The JSON writer's real to text.
void RealAsJson(benchmark::State& state)
{
  WCHAR text[32];
  double value = 1234.5678;
  for (auto _ : state) {
    swprintf(text, u"%#.16g", value);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(RealAsJson);

void RealAsJsonCLibrary(benchmark::State& state)
{
  wchar_t text[32];
  double value = 1234.5678;
  for (auto _ : state) {
    std::swprintf(text, 32, L"%#.16g", value);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(RealAsJsonCLibrary);

std::string ChineseReply(UINT codePage)
{
  std::u16string wide;
  while (wide.size() < 4096)
    wide += u"{\"resultStatus\":100,\"memo\":\"交易成功，余额：12.50元\"}";
  int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

void DecodeReply(benchmark::State& state)
{
  UINT codePage = static_cast<UINT>(state.range(0));
  std::string bytes = ChineseReply(codePage);
  std::u16string wide(bytes.size(), u'\0');
  for (auto _ : state) {
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                                static_cast<int>(wide.size()));
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(DecodeReply)->Arg(CP_UTF8)->Arg(936);

void DecodeReplyIconv(benchmark::State& state)
{
  std::string bytes = ChineseReply(936);
  std::u16string wide(bytes.size(), u'\0');
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  for (auto _ : state) {
    char* in = bytes.data();
    size_t inLeft = bytes.size();
    char* out = reinterpret_cast<char*>(wide.data());
    size_t outLeft = wide.size() * 2;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(iconv(cd, &in, &inLeft, &out, &outLeft));
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(DecodeReplyIconv);

void ScanReal(benchmark::State& state)
{
  double value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(swscanf(u"1234.5678", u"%lf", &value));
  }
}
BENCHMARK(ScanReal);

}  // namespace
