// Whole-text matches of the input validators' fixed patterns on typical field inputs, with
// CRegexPattern, PCRE2's interpreter and std::regex side by side. Each pattern runs in the
// width its validator uses. After the run a table gives each engine's time per match (the
// benchmark thread's CPU time) and the ratios. Goal: every pattern at or below PCRE2's
// interpreter.
#define PCRE2_CODE_UNIT_WIDTH 0
#include <pcre2.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "goal_report.h"
#include "regex/regex_pattern.h"

namespace {

struct ValidatorPattern {
  const char* name;
  const char* pattern;
  bool wide;
  std::vector<std::string> inputs;  // UTF-8
};

const std::vector<ValidatorPattern>& Patterns()
{
  static const std::vector<ValidatorPattern> patterns = {
      {"mobile", "1(3|5|8)\\d{9}", true, {"13812345678", "15900001111", "12345678901", "1381234567"}},
      {"email",
       "^[\\w-]+(\\.[\\w-]+)*@[\\w-]+(\\.[\\w-]+)+$",
       true,
       {"zhang.san@example.com", "user_01@mail.korvex.cn", "bad@localhost", "someone@"}},
      {"id_card", "\\d{15}$|\\d{17}[0-9xX]{1}", true, {"11010119900307123X", "110101900307123", "1101011990030712"}},
      {"amount",
       "^[1-9]\\d*(([\\.]?[0-9]{1,2})?)$|^[0][\\.][1-9]$|^[0][\\.]([0-9][1-9])$",
       true,
       {"1", "10.5", "1234.56", "0.05", "01", "1.234"}},
      {"draft_number", "\\d{14}|\\d{18}", true, {"12345678901234", "123456789012345678", "1234567890123"}},
      {"draft_password", "\\d{6}", true, {"123456", "12345a"}},
      {"bank_account", "\\d{16,21}", true, {"6222021234567890123", "622202123456789"}},
      {"real_name", "^[\\u4E00-\\u9FA5A-Z]{2,32}$", true, {"张三", "欧阳娜娜", "李ABC", "ZHANG SAN"}},
      {"check_code", "^[0-9a-zA-Z]{4}$", true, {"a9Z0", "ab!1"}},
      {"recharge_card_number", "\\d{15,21}", false, {"123456789012345678", "12345678901234"}},
      {"recharge_card_password", "\\d{18,21}", false, {"123456789012345678901", "1234567890"}},
      {"password_pattern",
       "^[0-9a-zA-Z`~!@#%&:;\"'_=<,>\\.\\$\\?\\^\\/\\*\\(\\)\\-\\+\\{\\}\\[\\]\\|\\\\]{6,16}$",
       false,
       {"abc!@#12", "pass word", "P@ssw0rd_2024"}},
  };
  return patterns;
}

std::u16string ToUtf16(const std::string& utf8)
{
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    unsigned code = c;
    int extra = 0;
    if (c >= 0xE0) {
      code = c & 0x0F;
      extra = 2;
    } else if (c >= 0xC0) {
      code = c & 0x1F;
      extra = 1;
    }
    for (int k = 1; k <= extra; ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    out += static_cast<char16_t>(code);
    i += 1 + extra;
  }
  return out;
}

std::wstring ToWide(const std::u16string& text)
{
  return std::wstring(text.begin(), text.end());
}

// The validators compile once and match many times; so do these.
class OurEngine {
 public:
  explicit OurEngine(const ValidatorPattern& p) : m_wide(p.wide)
  {
    if (m_wide) {
      m_widePattern.Compile(ToUtf16(p.pattern).c_str(), -1, 0);
      for (const auto& input : p.inputs) {
        m_wideInputs.push_back(ToUtf16(input));
      }
    } else {
      m_narrowPattern.Compile(p.pattern, -1, 0);
      m_narrowInputs = p.inputs;
    }
  }
  int MatchAll() const
  {
    int matched = 0;
    if (m_wide) {
      for (const auto& input : m_wideInputs) {
        matched += m_widePattern.MatchWhole(input.c_str()).IsMatched();
      }
    } else {
      for (const auto& input : m_narrowInputs) {
        matched += m_narrowPattern.MatchWhole(input.c_str()).IsMatched();
      }
    }
    return matched;
  }

 private:
  bool m_wide;
  CRegexPattern<char> m_narrowPattern;
  CRegexPattern<WCHAR> m_widePattern;
  std::vector<std::string> m_narrowInputs;
  std::vector<std::u16string> m_wideInputs;
};

class Pcre2Engine {
 public:
  explicit Pcre2Engine(const ValidatorPattern& p) : m_wide(p.wide)
  {
    int error = 0;
    PCRE2_SIZE offset = 0;
    if (m_wide) {
      const std::u16string pattern = ToUtf16(p.pattern);
      m_code16 = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(pattern.c_str()), pattern.size(),
                                  PCRE2_ALT_BSUX | PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr);
      m_data16 = pcre2_match_data_create_from_pattern_16(m_code16, nullptr);
      for (const auto& input : p.inputs) {
        m_wideInputs.push_back(ToUtf16(input));
      }
    } else {
      m_code8 = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(p.pattern), PCRE2_ZERO_TERMINATED,
                                PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr);
      m_data8 = pcre2_match_data_create_from_pattern_8(m_code8, nullptr);
      m_narrowInputs = p.inputs;
    }
    if (m_code8 == nullptr && m_code16 == nullptr) {
      std::fprintf(stderr, "PCRE2 cannot compile %s (error %d)\n", p.name, error);
      std::abort();
    }
  }
  ~Pcre2Engine()
  {
    pcre2_match_data_free_8(m_data8);
    pcre2_code_free_8(m_code8);
    pcre2_match_data_free_16(m_data16);
    pcre2_code_free_16(m_code16);
  }
  Pcre2Engine(const Pcre2Engine&) = delete;
  Pcre2Engine& operator=(const Pcre2Engine&) = delete;

  int MatchAll() const
  {
    const uint32_t whole = PCRE2_ANCHORED | PCRE2_ENDANCHORED;
    int matched = 0;
    if (m_wide) {
      for (const auto& input : m_wideInputs) {
        matched += pcre2_match_16(m_code16, reinterpret_cast<PCRE2_SPTR16>(input.c_str()), input.size(), 0, whole,
                                  m_data16, nullptr) > 0;
      }
    } else {
      for (const auto& input : m_narrowInputs) {
        matched += pcre2_match_8(m_code8, reinterpret_cast<PCRE2_SPTR8>(input.c_str()), input.size(), 0, whole,
                                 m_data8, nullptr) > 0;
      }
    }
    return matched;
  }

 private:
  bool m_wide;
  pcre2_code_8* m_code8 = nullptr;
  pcre2_match_data_8* m_data8 = nullptr;
  pcre2_code_16* m_code16 = nullptr;
  pcre2_match_data_16* m_data16 = nullptr;
  std::vector<std::string> m_narrowInputs;
  std::vector<std::u16string> m_wideInputs;
};

class StdEngine {
 public:
  explicit StdEngine(const ValidatorPattern& p) : m_wide(p.wide)
  {
    if (m_wide) {
      m_wideRegex.assign(ToWide(ToUtf16(p.pattern)));
      for (const auto& input : p.inputs) {
        m_wideInputs.push_back(ToWide(ToUtf16(input)));
      }
    } else {
      m_narrowRegex.assign(p.pattern);
      m_narrowInputs = p.inputs;
    }
  }
  int MatchAll() const
  {
    int matched = 0;
    if (m_wide) {
      for (const auto& input : m_wideInputs) {
        matched += std::regex_match(input, m_wideRegex);
      }
    } else {
      for (const auto& input : m_narrowInputs) {
        matched += std::regex_match(input, m_narrowRegex);
      }
    }
    return matched;
  }

 private:
  bool m_wide;
  std::regex m_narrowRegex;
  std::wregex m_wideRegex;
  std::vector<std::string> m_narrowInputs;
  std::vector<std::wstring> m_wideInputs;
};

const char* const kEngines[] = {"CRegexPattern", "pcre2", "std_regex"};

template <typename Engine>
void Register(const ValidatorPattern& pattern, const char* engineName, int expectedMatches)
{
  benchmark::RegisterBenchmark((std::string(pattern.name) + "/" + engineName).c_str(),
                               [&pattern, expectedMatches](benchmark::State& state) {
                                 const Engine engine(pattern);
                                 if (engine.MatchAll() != expectedMatches) {
                                   state.SkipWithError("engines disagree on the inputs");
                                   return;
                                 }
                                 for (auto _ : state) {
                                   benchmark::DoNotOptimize(engine.MatchAll());
                                 }
                                 state.SetItemsProcessed(state.iterations() *
                                                         static_cast<int64_t>(pattern.inputs.size()));
                               });
}

// Prints the usual console output, then a table of time per match and ratios; with repetitions
// each time is the median of them.
class RatioReporter : public goal_report::Reporter {
 public:
  void Finalize() override
  {
    goal_report::Reporter::Finalize();
    std::printf("\n%-24s %12s %12s %12s %10s %10s  %s\n", "pattern (ns per match)", kEngines[0], kEngines[1],
                kEngines[2], "vs pcre2", "vs std", "goal: vs pcre2 <= 1.00");
    for (const auto& pattern : Patterns()) {
      double ns[3] = {};
      for (int e = 0; e < 3; ++e) {
        ns[e] = Seconds(std::string(pattern.name) + "/" + kEngines[e]) * 1e9 / static_cast<double>(pattern.inputs.size());
      }
      if (ns[0] > 0 && ns[1] > 0 && ns[2] > 0) {
        std::printf("%-24s %12.1f %12.1f %12.1f %9.2fx %9.2fx  %s\n", pattern.name, ns[0], ns[1], ns[2],
                    ns[0] / ns[1], ns[0] / ns[2], ns[0] <= ns[1] ? "met" : "MISSED");
      }
    }
    std::printf("(ratios are CRegexPattern's time over the other engine's: below 1 is faster)\n");
  }
};

}  // namespace

int main(int argc, char** argv)
{
  for (const auto& pattern : Patterns()) {
    const int expected = OurEngine(pattern).MatchAll();
    Register<OurEngine>(pattern, kEngines[0], expected);
    Register<Pcre2Engine>(pattern, kEngines[1], expected);
    Register<StdEngine>(pattern, kEngines[2], expected);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
