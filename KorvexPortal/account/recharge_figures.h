// The figures of the prepaid-card and net-bank top-ups: the fee and the credited amount of a
// face value, the rate as a whole percent, the card hint of a face value, and the limits text of a
// bank. Amounts are computed in whole cents from the decimal texts, so no binary rounding shows.
#pragma once

#include "text/cstring.h"

struct CardCharge {
  // The amount credited and the fee, each with six decimals ("19.060000", "0.940000").
  CStringW credited;
  CStringW fee;
};

// The fee is the face value's leading whole number times the rate, rounded half up to the cent;
// the credited amount is the face value less the fee. A rate that is not a decimal counts as 0.
CardCharge ComputeCardCharge(const CStringW& faceValue, const CStringW& rate);

// The rate as a percent rounded to the nearest whole number (0.047 gives 5, 0.57 gives 57).
int RatePercent(const CStringW& rate);

// The rate line of the card page.
CStringW RateLine(const CStringW& rate);

// The card hint for a face value, with or without a trailing "元".
CStringW CardHint(const CStringW& faceValue);

// The limits text for a bank name; empty for a bank the table does not know.
CStringW BankLimitsText(const CStringW& bankName);

// Whether the bank asks for the phone's carrier.
bool BankNeedsCarrier(const CStringW& bankName);
