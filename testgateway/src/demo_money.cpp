#include "demo_money.h"

namespace testgateway::detail {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::int64_t> parseYuan(std::string_view text) {
  std::string_view whole = text.substr(0, text.find('.'));
  std::string_view fraction = whole.size() < text.size() ? text.substr(whole.size() + 1) : std::string_view();
  bool hasPoint = whole.size() < text.size();
  if (whole.empty() || whole.size() > 12 || fraction.size() > 2 || (hasPoint && fraction.empty())) return std::nullopt;
  std::int64_t fen = 0;
  for (char c : whole) {
    if (!isDigit(c)) return std::nullopt;
    fen = fen * 10 + (c - '0');
  }
  for (std::size_t i = 0; i < 2; ++i) {
    char c = i < fraction.size() ? fraction[i] : '0';
    if (!isDigit(c)) return std::nullopt;
    fen = fen * 10 + (c - '0');
  }
  return fen;
}

std::string yuanText(std::int64_t fen) {
  std::string sign = fen < 0 ? "-" : "";
  std::uint64_t magnitude = fen < 0 ? 0 - static_cast<std::uint64_t>(fen) : static_cast<std::uint64_t>(fen);
  std::string cents = std::to_string(magnitude % 100);
  return sign + std::to_string(magnitude / 100) + "." + (cents.size() < 2 ? "0" : "") + cents;
}

}  // namespace testgateway::detail
