// The bank-card list's order, the status indexes and their texts, and the masking of an ID card
// number on file.
#include <gtest/gtest.h>

#include "list_results.h"
#include "milocard_status.h"

namespace {

McActivationResult Reply(std::initializer_list<McActivationBank> banks)
{
  McActivationResult reply;
  reply.bankCount = static_cast<int>(banks.size());
  reply.banks = std::make_unique<McActivationBank[]>(banks.size());
  int i = 0;
  for (const McActivationBank& bank : banks)
    reply.banks[i++] = bank;
  return reply;
}

TEST(MilocardStatus, RowsComeByStatusRankThenBankNameWithoutRegardToCase)
{
  McActivationResult reply = Reply({
      {u"B1", u"beta银行", u"已开通"},
      {u"B2", u"Alpha银行", u""},
      {u"B3", u"zeta银行", u"未激活"},
      {u"B4", u"Gamma银行", u"等待签约"},
      {u"B5", u"delta银行", u"办理中"},
      {u"B6", u"Acme银行", u"未激活"},
  });
  reply.notAuthed = 0;
  MilocardCardData data = MilocardCardDataFrom(reply);
  std::vector<std::u16string> order;
  for (const MilocardRow& row : data.rows)
    order.push_back(row.bankId.GetString());
  EXPECT_EQ((std::vector<std::u16string>{u"B6", u"B3", u"B4", u"B1", u"B2", u"B5"}), order);
  EXPECT_EQ(0, data.identityMissing);

  std::vector<std::u16string> offered;
  for (const MilocardRow& row : MilocardBanksOffered(data))
    offered.push_back(row.bankId.GetString());
  EXPECT_EQ(std::vector<std::u16string>{u"B2"}, offered);
}

TEST(MilocardStatus, EachStatusHasItsIndexDescriptionAndAction)
{
  struct Case {
    const char16_t* status;
    int index;
    const char16_t* action;
  };
  for (const Case& c : {Case{u"未激活", 0, u"激活"}, Case{u"等待签约", 1, u""}, Case{u"已开通", 2, u""},
                        Case{u"办理中", 3, u"开通Milocard"}, Case{u"", 3, u"开通Milocard"}}) {
    SCOPED_TRACE(std::u16string(c.status).size());
    int index = MilocardStatusIndex(c.status);
    EXPECT_EQ(c.index, index);
    EXPECT_EQ(std::u16string(c.action), MilocardActionTexts[index]);
  }
  EXPECT_EQ(std::u16string(u"您可以开通一张新Milocard。"), MilocardStatusTexts[3]);
  EXPECT_EQ(0, MilocardActionIndex(u"激活"));
  EXPECT_EQ(3, MilocardActionIndex(u"开通MILOCARD"));
  // An action that no entry has before the end mark, the empty one included, is index 2's.
  EXPECT_EQ(2, MilocardActionIndex(u"END"));
  EXPECT_EQ(1, MilocardActionIndex(u""));
}

TEST(MilocardStatus, AnIdCardNumberOnFileShowsOnlyItsLastFourCharacters)
{
  EXPECT_EQ(std::u16string(u"**************123X"), MaskIdCardNumber(u"11010519491231123X").GetString());
  EXPECT_EQ(std::u16string(u"***********4567"), MaskIdCardNumber(u"110105194912314567").Right(15).GetString());
  // Four characters or fewer show nothing of the number.
  EXPECT_EQ(std::u16string(u"****"), MaskIdCardNumber(u"1234").GetString());
  EXPECT_EQ(std::u16string(u"**"), MaskIdCardNumber(u"12").GetString());
  EXPECT_EQ(std::u16string(), MaskIdCardNumber(u"").GetString());
}

}  // namespace
