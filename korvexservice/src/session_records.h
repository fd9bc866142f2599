// The process-wide records that replies leave for later requests: the gateway's session key
// and the pending phone top-up. Replies replace them on the network worker while operations
// read them on the user-interface thread, so each is replaced whole under a lock and read as
// a snapshot that stays valid however long the reader keeps it.
#pragma once

#include <memory>

#include "base/types.h"
#include "text/cstring.h"

// The gateway's RSA public key ("rsaPK") and its time stamp ("rsaTS").
struct SessionRecord {
  CStringW publicKey;
  CStringW timeStamp;
};

void SetSessionRecord(const WCHAR* publicKey, const WCHAR* timeStamp);
// The stored record, or null before the first one.
std::shared_ptr<const SessionRecord> GetSessionRecord();

// What the last "preDeposit4Mobile" reply quoted, sent again by "deposit4Mobile".
struct TopUpRecord {
  CStringW toMobileAmount;
  CStringW toPayAmount;
  CStringW toMobileNO;
};

void SetUserRecord(const WCHAR* toMobileAmount, const WCHAR* toPayAmount, const WCHAR* toMobileNO);
// The stored record, or null before the first one.
std::shared_ptr<const TopUpRecord> GetUserRecord();

// The password followed by the record's time stamp, encrypted under the record's key (byte
// order reversed, Base64), into out; out is empty without a record or when encryption fails.
// The plain text is wiped once encrypted.
CStringW& EncryptWithSessionKey(const SessionRecord* record, CStringW& out, const WCHAR* password);
