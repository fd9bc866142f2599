// The bank cards of the sign-up wizard: one row per bank of the gateway's list, the card data
// the wizard's pages share, the status ranks and indexes, and the texts each status index shows
// (the description under the list and the action on soft key 1).
#pragma once

#include <vector>

#include "text/cstring.h"

struct McActivationResult;

struct MilocardRow {
  CStringW bankId;
  CStringW bankName;
  CStringW spare;
  // "未激活", "等待签约", "已开通", or empty for a bank where the user has no card yet.
  CStringW status;
};

struct MilocardCardData {
  std::vector<MilocardRow> rows;  // sorted with MilocardBankLess
  int identityMissing = 1;        // 1 while the account has no identity on file
  CStringW realName;
  CStringW idCardNumber;
  CStringW notice;
};

// The status index: 0 "未激活", 1 "等待签约", 2 "已开通", 3 anything else.
int MilocardStatusIndex(const CStringW& status);
// The status rank: "未激活" 3, "等待签约" 2, "已开通" 1, anything else 0.
int MilocardStatusRank(const CStringW& status);
// The higher rank first; within a rank, bank names in ascending order without regard to case.
bool MilocardBankLess(const MilocardRow& left, const MilocardRow& right);

// Five entries each, the last an end mark (description "", action "END").
extern const WCHAR* const MilocardStatusTexts[5];
extern const WCHAR* const MilocardActionTexts[5];
// The index of the action text in MilocardActionTexts (without regard to case); 2 when none
// matches before the end mark.
int MilocardActionIndex(const CStringW& action);

// The card data of a "preRequestMC2" reply, its rows sorted.
MilocardCardData MilocardCardDataFrom(const McActivationResult& reply);
// The banks where the user has no card yet, in sorted order (what a new card may be applied for).
std::vector<MilocardRow> MilocardBanksOffered(const MilocardCardData& data);
// The ID card number as shown when it is on file: all but its last 4 characters masked by "*".
// A number of 4 characters or fewer is masked whole, so nothing of a short number shows.
CStringW MaskIdCardNumber(const CStringW& number);
