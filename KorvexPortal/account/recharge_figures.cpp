#include "recharge_figures.h"

#include <cstdint>

namespace {

const WCHAR kCarrierBank[] = u"光大银行";

// A non-negative decimal text as numerator / 10^scale; false when it is not one.
bool ParseDecimal(const CStringW& text, int64_t& numerator, int64_t& denominator)
{
  CStringW value = text;
  value.Trim();
  numerator = 0;
  denominator = 1;
  bool digits = false;
  bool fraction = false;
  for (int i = 0; i < value.GetLength(); ++i) {
    WCHAR c = value[i];
    if (c == u'.' && !fraction) {
      fraction = true;
      continue;
    }
    if (c < u'0' || c > u'9')
      return false;
    // Beyond nine decimals or whole digits the figure is not a rate or an amount.
    if (numerator > INT64_C(100000000000) || denominator > INT64_C(1000000000))
      return false;
    numerator = numerator * 10 + (c - u'0');
    if (fraction)
      denominator *= 10;
    digits = true;
  }
  return digits;
}

// The leading whole number of a face value ("100元" gives 100); 0 when there is none.
int64_t LeadingWholeNumber(const CStringW& text)
{
  int64_t value = 0;
  for (int i = 0; i < text.GetLength() && text[i] >= u'0' && text[i] <= u'9' && value < INT64_C(1000000000); ++i)
    value = value * 10 + (text[i] - u'0');
  return value;
}

CStringW FormatCents(int64_t cents)
{
  CStringW text;
  const WCHAR* sign = cents < 0 ? u"-" : u"";
  int64_t magnitude = cents < 0 ? -cents : cents;
  text.Format(u"%s%lld.%02lld0000", sign, static_cast<long long>(magnitude / 100),
              static_cast<long long>(magnitude % 100));
  return text;
}

}  // namespace

CardCharge ComputeCardCharge(const CStringW& faceValue, const CStringW& rate)
{
  int64_t face = LeadingWholeNumber(faceValue);
  int64_t numerator = 0;
  int64_t denominator = 1;
  if (!ParseDecimal(rate, numerator, denominator))
    numerator = 0;
  // face x 100 x numerator / denominator cents, rounded half up.
  int64_t feeCents = (2 * face * 100 * numerator + denominator) / (2 * denominator);
  return CardCharge{FormatCents(face * 100 - feeCents), FormatCents(feeCents)};
}

int RatePercent(const CStringW& rate)
{
  int64_t numerator = 0;
  int64_t denominator = 1;
  if (!ParseDecimal(rate, numerator, denominator))
    return 0;
  return static_cast<int>((2 * 100 * numerator + denominator) / (2 * denominator));
}

CStringW RateLine(const CStringW& rate)
{
  CStringW line;
  line.Format(u"费率：%d%%，每日累计可充值500.00元整，已充值的金额无法退还到卡中。", RatePercent(rate));
  return line;
}

CStringW CardHint(const CStringW& faceValue)
{
  CStringW value = faceValue;
  if (value.GetLength() > 0 && value[value.GetLength() - 1] == u'元')
    value = value.Left(value.GetLength() - 1);
  return value == u"10" ? CStringW(u"只支持17位全国神州行卡") : CStringW(u"支持17位全国神州行卡和15位联通一卡充");
}

CStringW BankLimitsText(const CStringW& bankName)
{
  if (bankName == kCarrierBank)
    return u"信用卡的单笔限额和 单日累计限额是300元；借记卡的单笔限额是5000元，单日累计限额5000元。";
  if (bankName == u"招商银行")
    return u" 信用卡、借记卡的 单笔限额和每日累计限额都是500元；可修改额度：通过柜台和专业版最高可调整到50000元，通过电话最高可调整到5000元。";
  if (bankName == u"建设银行")
    return u"信用卡的单笔限额和 单日累计限额是500元；借记卡的单笔限额是10000元，单日累计限额20000元。";
  return CStringW();
}

bool BankNeedsCarrier(const CStringW& bankName)
{
  return bankName == kCarrierBank;
}
