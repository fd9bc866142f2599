// Differential test against PCRE2's interpreter on generated patterns and texts, anchored at
// both ends of the text, from the part of the language where the two agree: literals,
// classes, \d \w '.', groups, alternation, atomic groups, lookahead, and quantifiers. A greedy
// repeat here stops trying further iterations once an iteration has matched another way, so
// unbounded repeats ('*', '+', {n,m} with m - n >= 2) are generated only on items that match
// in one way, and no repeat beyond a fixed count is put on an item that can match empty.
// Whole patterns consume at least one character (two backtracked matches that end empty at
// the start end our match).
#include <gtest/gtest.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regex_test_support.h"

namespace {

// A small deterministic generator (splitmix64), the same on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : m_state(seed) {}
  uint64_t Next()
  {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  uint64_t m_state;
};

const char kAlphabet[] = "abc1_-\n";

// A generated piece of pattern: its text, the shortest text it can match, whether it can
// match in one way only, and a way to produce a text it should match.
struct Piece {
  enum Kind { Literal, Class, Group, Alternation, Sequence, Quantified, Lookahead };
  Kind kind = Literal;
  std::string text;
  std::string members;  // Class: characters it matches (for sampling)
  std::vector<Piece> parts;
  int minimum = 0;      // Quantified
  int maximum = 0;      // Quantified; -1 for unbounded
  int minLength = 0;
  bool oneWay = false;

  std::string Sample(Random& random) const
  {
    switch (kind) {
      case Literal:
        return text;
      case Class:
        return std::string(1, members[random.Below(static_cast<int>(members.size()))]);
      case Group:
      case Sequence: {
        std::string out;
        for (const auto& part : parts) {
          out += part.Sample(random);
        }
        return out;
      }
      case Alternation:
        return parts[random.Below(static_cast<int>(parts.size()))].Sample(random);
      case Quantified: {
        const int most = maximum < 0 ? minimum + 3 : maximum;
        const int count = minimum + random.Below(most - minimum + 1);
        std::string out;
        for (int i = 0; i < count; ++i) {
          out += parts[0].Sample(random);
        }
        return out;
      }
      case Lookahead:
        return "";
    }
    return "";
  }
};

class PatternGenerator {
 public:
  // With `anchored`, sequences may begin with '^' and end with '$' (at the end of the text, as
  // PCRE2_DOLLAR_ENDONLY has it), mostly at the top level, where a match can still reach them.
  PatternGenerator(Random& random, bool anchored) : m_random(random), m_anchored(anchored) {}

  Piece Pattern()
  {
    m_groups = 0;
    return AlternationOf(0);
  }

 private:
  Piece AlternationOf(int depth)
  {
    const int branches = 1 + (m_random.Chance(35) ? 1 + m_random.Below(2) : 0);
    if (branches == 1) {
      return SequenceOf(depth);
    }
    Piece alternation;
    alternation.kind = Piece::Alternation;
    alternation.minLength = 1 << 20;
    for (int i = 0; i < branches; ++i) {
      Piece branch = SequenceOf(depth);
      alternation.text += (i ? "|" : "") + branch.text;
      alternation.minLength = std::min(alternation.minLength, branch.minLength);
      alternation.parts.push_back(std::move(branch));
    }
    return alternation;
  }

  Piece SequenceOf(int depth)
  {
    Piece sequence;
    sequence.kind = Piece::Sequence;
    const int items = 1 + m_random.Below(depth == 0 ? 3 : 2);
    for (int i = 0; i < items; ++i) {
      Piece item = QuantifiedItem(depth);
      sequence.text += item.text;
      sequence.minLength += item.minLength;
      sequence.parts.push_back(std::move(item));
    }
    if (m_anchored && m_random.Chance(30)) {
      sequence.text = "^" + sequence.text;
    }
    if (m_anchored && m_random.Chance(depth == 0 ? 60 : 10)) {
      sequence.text += "$";
    }
    return sequence;
  }

  Piece QuantifiedItem(int depth)
  {
    Piece item = Item(depth);
    if (item.kind == Piece::Lookahead || !m_random.Chance(45)) {
      return item;
    }
    Piece quantified;
    quantified.kind = Piece::Quantified;
    const bool mayRepeatFreely = item.oneWay && item.minLength > 0;
    const int form = m_random.Below(mayRepeatFreely ? 6 : (item.minLength > 0 ? 3 : 1));
    std::string suffix;
    switch (form) {
      case 0:  // {n}
        quantified.minimum = quantified.maximum = 1 + m_random.Below(3);
        suffix = "{" + std::to_string(quantified.minimum) + "}";
        break;
      case 1:  // ?
        quantified.minimum = 0;
        quantified.maximum = 1;
        suffix = "?";
        break;
      case 2:  // {n,n+1}
        quantified.minimum = m_random.Below(3);
        quantified.maximum = quantified.minimum + 1;
        suffix = "{" + std::to_string(quantified.minimum) + "," + std::to_string(quantified.maximum) + "}";
        break;
      case 3:  // *
        quantified.minimum = 0;
        quantified.maximum = -1;
        suffix = "*";
        break;
      case 4:  // +
        quantified.minimum = 1;
        quantified.maximum = -1;
        suffix = "+";
        break;
      default:  // {n,m} with m - n >= 2, or {n,}
        quantified.minimum = m_random.Below(3);
        quantified.maximum = m_random.Chance(30) ? -1 : quantified.minimum + 2 + m_random.Below(3);
        suffix = "{" + std::to_string(quantified.minimum) + "," +
                 (quantified.maximum < 0 ? std::string() : std::to_string(quantified.maximum)) + "}";
        break;
    }
    if (form != 0) {
      const int mode = m_random.Below(3);
      suffix += mode == 1 ? "?" : (mode == 2 ? "+" : "");
    }
    quantified.text = item.text + suffix;
    quantified.minLength = item.minLength * quantified.minimum;
    quantified.parts.push_back(std::move(item));
    return quantified;
  }

  Piece Item(int depth)
  {
    const int choice = m_random.Below(depth >= 2 ? 2 : 8);
    if (choice == 0) {
      return LiteralItem();
    }
    if (choice == 1) {
      return ClassItem();
    }
    Piece group;
    group.kind = Piece::Group;
    Piece inner = AlternationOf(depth + 1);
    switch (choice) {
      case 2:
      case 3:
        ++m_groups;
        group.text = "(" + inner.text + ")";
        break;
      case 4:
        group.text = "(?:" + inner.text + ")";
        break;
      case 5:
        group.text = "(?>" + inner.text + ")";
        group.oneWay = true;
        break;
      default:
        group.kind = Piece::Lookahead;
        group.text = (m_random.Chance(50) ? "(?=" : "(?!") + inner.text + ")";
        group.minLength = 0;
        group.parts.push_back(std::move(inner));
        return group;
    }
    group.minLength = inner.minLength;
    group.parts.push_back(std::move(inner));
    return group;
  }

  Piece LiteralItem()
  {
    Piece literal;
    literal.kind = Piece::Literal;
    const int length = 1 + (m_random.Chance(30) ? m_random.Below(2) + 1 : 0);
    for (int i = 0; i < length; ++i) {
      literal.text += "abc"[m_random.Below(3)];
    }
    literal.minLength = length;
    literal.oneWay = true;
    return literal;
  }

  Piece ClassItem()
  {
    static const struct {
      const char* text;
      const char* members;
    } classes[] = {
        {"[ab]", "ab"}, {"[^a]", "bc1_-"}, {"[a-c]", "abc"}, {"[\\d_]", "1_"}, {"\\d", "1"}, {"\\w", "abc1_"},
        {".", "abc1_-"}, {"[-a]", "-a"},
    };
    const auto& chosen = classes[m_random.Below(8)];
    Piece set;
    set.kind = Piece::Class;
    set.text = chosen.text;
    set.members = chosen.members;
    set.minLength = 1;
    set.oneWay = true;
    return set;
  }

  Random& m_random;
  bool m_anchored;
  int m_groups = 0;
};

struct Pcre2Deleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// PCRE2's answer in the same form as DescribeMatch.
std::string MatchWithPcre2(const std::string& pattern, const std::string& text, int* groups)
{
  int error = 0;
  PCRE2_SIZE offset = 0;
  std::unique_ptr<pcre2_code, Pcre2Deleter> code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()),
                                                               pattern.size(), PCRE2_DOLLAR_ENDONLY, &error,
                                                               &offset, nullptr));
  if (!code) {
    return "pcre2 compile error " + std::to_string(error);
  }
  uint32_t captures = 0;
  pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
  *groups = static_cast<int>(captures);
  std::unique_ptr<pcre2_match_data, Pcre2Deleter> data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
  const int rc = pcre2_match(code.get(), reinterpret_cast<PCRE2_SPTR>(text.c_str()), text.size(), 0,
                             PCRE2_ANCHORED | PCRE2_ENDANCHORED, data.get(), nullptr);
  if (rc == PCRE2_ERROR_NOMATCH) {
    return "no";
  }
  if (rc < 0) {
    return "pcre2 match error " + std::to_string(rc);
  }
  const PCRE2_SIZE* spans = pcre2_get_ovector_pointer(data.get());
  std::string out;
  for (int group = 0; group <= static_cast<int>(captures); ++group) {
    if (group > 0) {
      out += ' ';
    }
    if (group >= rc || spans[2 * group] == PCRE2_UNSET) {
      out += '-';
    } else {
      out += std::to_string(spans[2 * group]) + "," + std::to_string(spans[2 * group + 1]);
    }
  }
  return out;
}

std::string Mutated(std::string text, Random& random)
{
  const int edits = 1 + random.Below(2);
  for (int i = 0; i < edits; ++i) {
    const char c = kAlphabet[random.Below(sizeof(kAlphabet) - 1)];
    const int at = text.empty() ? 0 : random.Below(static_cast<int>(text.size()));
    switch (random.Below(3)) {
      case 0:
        text.insert(text.begin() + at, c);
        break;
      case 1:
        if (!text.empty()) {
          text.erase(text.begin() + at);
        }
        break;
      default:
        if (!text.empty()) {
          text[at] = c;
        }
        break;
    }
  }
  return text;
}

void ExpectAgreementWithPcre2(uint64_t seed, bool anchored)
{
  Random random(seed);
  PatternGenerator generator(random, anchored);
  int cases = 0;
  int matched = 0;
  int failures = 0;
  int skipped = 0;
  for (int round = 0; round < 4000 && failures < 10; ++round) {
    const Piece pattern = generator.Pattern();
    if (pattern.minLength == 0) {
      continue;
    }
    CRegexPattern<char> narrow(pattern.text.c_str());
    CRegexPattern<WCHAR> wide(Widen(pattern.text).c_str());
    for (int t = 0; t < 5; ++t) {
      const std::string sample = pattern.Sample(random);
      const std::string text = t < 3 ? sample : (t == 3 ? Mutated(sample, random) : Mutated("", random));
      int groups = 0;
      const std::string expected = MatchWithPcre2(pattern.text, text, &groups);
      if (expected.rfind("pcre2", 0) == 0) {
        ++skipped;  // PCRE2 gave up (its own match limit)
        continue;
      }
      const std::string ours = DescribeMatch(narrow.MatchWhole(text.c_str()));
      const std::string oursWide = DescribeMatch(wide.MatchWhole(Widen(text).c_str()));
      ++cases;
      matched += expected != "no";
      if (ours != expected || oursWide != expected || narrow.GetHighestGroup() != groups) {
        ++failures;
        ADD_FAILURE() << "pattern \"" << pattern.text << "\" text \"" << text << "\": PCRE2 " << expected
                      << ", 8-bit " << ours << ", wide " << oursWide << ", groups " << groups << " vs "
                      << narrow.GetHighestGroup();
      }
    }
  }
  EXPECT_LE(skipped, cases / 100);
  EXPECT_GE(cases, 5000);
  EXPECT_GE(matched, cases / 5);  // the texts exercise matches, not only failures
  std::printf("differential cases: %d (%d matched, %d skipped)\n", cases, matched, skipped);
}

TEST(RegexDifferential, AgreesWithPcre2OnGeneratedCases)
{
  ExpectAgreementWithPcre2(20240611, false);
}

// Anchors at the ends of sequences: a sequence that must end at the end of the text gives up
// early where its remaining items cannot reach that far.
TEST(RegexDifferential, AgreesWithPcre2WithAnchoredSequences)
{
  ExpectAgreementWithPcre2(1105, true);
}

}  // namespace
