// The prepaid-card figures: fee and credited amount in whole cents, the rate line rounded to the
// nearest percent, the card hint, the net-bank limits.
#include <gtest/gtest.h>

#include "recharge_figures.h"

namespace {

TEST(RechargeFigures, FeeCreditedAndRate)
{
  struct Case {
    const char16_t* face;
    const char16_t* rate;
    const char16_t* credited;
    const char16_t* fee;
    int percent;
  };
  const Case cases[] = {
      {u"100元", u"0.05", u"95.000000", u"5.000000", 5},
      {u"20", u"0.047", u"19.060000", u"0.940000", 5},
      {u"50元", u"0.29", u"35.500000", u"14.500000", 29},
      {u"100", u"0.57", u"43.000000", u"57.000000", 57},
      // Half a cent rounds up.
      {u"10", u"0.0005", u"9.990000", u"0.010000", 0},
      // No face value, or a rate that is not a number.
      {u"", u"0.05", u"0.000000", u"0.000000", 5},
      {u"30", u"abc", u"30.000000", u"0.000000", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    CardCharge charge = ComputeCardCharge(c.face, c.rate);
    EXPECT_EQ(std::u16string(c.credited), charge.credited.GetString());
    EXPECT_EQ(std::u16string(c.fee), charge.fee.GetString());
    EXPECT_EQ(c.percent, RatePercent(c.rate));
  }
  EXPECT_EQ(std::u16string(u"费率：29%，每日累计可充值500.00元整，已充值的金额无法退还到卡中。"),
            RateLine(u"0.29").GetString());
}

TEST(RechargeFigures, CardHintAndBankLimits)
{
  EXPECT_EQ(std::u16string(u"只支持17位全国神州行卡"), CardHint(u"10").GetString());
  EXPECT_EQ(std::u16string(u"只支持17位全国神州行卡"), CardHint(u"10元").GetString());
  EXPECT_EQ(std::u16string(u"支持17位全国神州行卡和15位联通一卡充"), CardHint(u"100元").GetString());
  EXPECT_TRUE(BankNeedsCarrier(u"光大银行"));
  EXPECT_FALSE(BankNeedsCarrier(u"招商银行"));
  EXPECT_FALSE(BankLimitsText(u"建设银行").IsEmpty());
  EXPECT_TRUE(BankLimitsText(u"工商银行").IsEmpty());
}

}  // namespace
