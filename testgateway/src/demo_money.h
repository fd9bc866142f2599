// Amounts of money as the gateway writes them, yuan with two decimals ("1288.50"), kept as a
// whole number of fen so sums stay exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace testgateway::detail {

// "50", "50.5" or "50.50" in fen; nullopt for anything else (a sign, a third decimal, blanks,
// more than twelve digits before the point).
std::optional<std::int64_t> parseYuan(std::string_view text);

// "1288.50"; a negative amount gets a leading "-".
std::string yuanText(std::int64_t fen);

}  // namespace testgateway::detail
