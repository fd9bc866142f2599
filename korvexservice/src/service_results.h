// Result records that reply parsers allocate with new and hand to the listener, which owns them
// from then on. Texts a reply lacks are empty.
#pragma once

#include <string>

// The status and memo that most records begin with.
struct CServiceResult {
  int resultStatus = 0;
  std::u16string memo;
};

// A login that succeeded (code 2), or one refused with a check code to show (code 4).
struct LoginResult : CServiceResult {
  std::u16string mobileNo;
  std::u16string userName;
  std::u16string logonId;
  std::u16string loginServerTime;
  std::u16string extraData;
  std::u16string loginCheckCodeUrl;
  std::u16string loginCheckCodeImg;
};

// An update offered or required (login code 3, "update").
struct UpdateResult : CServiceResult {
  std::u16string downloadURL;
};
