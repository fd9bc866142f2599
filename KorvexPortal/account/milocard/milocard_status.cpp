#include "milocard_status.h"

#include <algorithm>

#include "list_results.h"

namespace {

const WCHAR* const kStatusWords[] = {u"未激活", u"等待签约", u"已开通"};

}  // namespace

const WCHAR* const MilocardStatusTexts[5] = {
    u"未激活Milocard，请点击激活按钮，激活此Milocard。",
    u"等待签约Milocard，请您携带身份证去银行柜台办理Milocard签约手续。",
    u"您的KorvexMilocard已开通，可以用它给Korvex账户充值或付款。",
    u"您可以开通一张新Milocard。",
    u"",
};

const WCHAR* const MilocardActionTexts[5] = {u"激活", u"", u"", u"开通Milocard", u"END"};

int MilocardStatusIndex(const CStringW& status)
{
  for (int i = 0; i < 3; ++i)
    if (status.CompareNoCase(kStatusWords[i]) == 0)
      return i;
  return 3;
}

int MilocardStatusRank(const CStringW& status)
{
  int index = MilocardStatusIndex(status);
  return index < 3 ? 3 - index : 0;
}

bool MilocardBankLess(const MilocardRow& left, const MilocardRow& right)
{
  int leftRank = MilocardStatusRank(left.status);
  int rightRank = MilocardStatusRank(right.status);
  if (leftRank != rightRank)
    return leftRank > rightRank;
  return left.bankName.CompareNoCase(right.bankName) < 0;
}

int MilocardActionIndex(const CStringW& action)
{
  for (int i = 0; i < 5; ++i) {
    if (CStringW(MilocardActionTexts[i]) == u"END")
      break;
    if (action.CompareNoCase(MilocardActionTexts[i]) == 0)
      return i;
  }
  return 2;
}

MilocardCardData MilocardCardDataFrom(const McActivationResult& reply)
{
  MilocardCardData data;
  data.identityMissing = reply.notAuthed ? 1 : 0;
  data.realName = reply.realName.c_str();
  data.idCardNumber = reply.idCardNO.c_str();
  for (int i = 0; i < reply.bankCount && reply.banks; ++i) {
    const McActivationBank& bank = reply.banks[i];
    data.rows.push_back(MilocardRow{bank.bankId.c_str(), bank.bankName.c_str(), CStringW(), bank.activeMSG.c_str()});
  }
  std::stable_sort(data.rows.begin(), data.rows.end(), MilocardBankLess);
  return data;
}

std::vector<MilocardRow> MilocardBanksOffered(const MilocardCardData& data)
{
  std::vector<MilocardRow> offered;
  for (const MilocardRow& row : data.rows)
    if (row.status.IsEmpty())
      offered.push_back(row);
  return offered;
}

CStringW MaskIdCardNumber(const CStringW& number)
{
  int length = number.GetLength();
  if (length <= 4)
    return CStringW(u'*', length);
  return CStringW(u'*', length - 4) + number.Right(4);
}
