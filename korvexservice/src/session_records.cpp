#include "session_records.h"

#include <mutex>

#include "paycrypt.h"
#include "secret_wipe.h"

namespace {

template <class Record>
class GuardedRecord {
 public:
  void Replace(std::shared_ptr<const Record> record)
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_record = std::move(record);
  }
  std::shared_ptr<const Record> Get()
  {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_record;
  }

 private:
  std::mutex m_lock;
  std::shared_ptr<const Record> m_record;
};

// Kept until the process ends: the network worker may still use them during exit.
GuardedRecord<SessionRecord>& Sessions()
{
  static auto* records = new GuardedRecord<SessionRecord>;
  return *records;
}

GuardedRecord<TopUpRecord>& TopUps()
{
  static auto* records = new GuardedRecord<TopUpRecord>;
  return *records;
}

const WCHAR* OrEmpty(const WCHAR* text)
{
  return text != nullptr ? text : u"";
}

}  // namespace

void SetSessionRecord(const WCHAR* publicKey, const WCHAR* timeStamp)
{
  auto record = std::make_shared<SessionRecord>();
  record->publicKey = OrEmpty(publicKey);
  record->timeStamp = OrEmpty(timeStamp);
  Sessions().Replace(std::move(record));
}

std::shared_ptr<const SessionRecord> GetSessionRecord()
{
  return Sessions().Get();
}

void SetUserRecord(const WCHAR* toMobileAmount, const WCHAR* toPayAmount, const WCHAR* toMobileNO)
{
  auto record = std::make_shared<TopUpRecord>();
  record->toMobileAmount = OrEmpty(toMobileAmount);
  record->toPayAmount = OrEmpty(toPayAmount);
  record->toMobileNO = OrEmpty(toMobileNO);
  TopUps().Replace(std::move(record));
}

std::shared_ptr<const TopUpRecord> GetUserRecord()
{
  return TopUps().Get();
}

CStringW& EncryptWithSessionKey(const SessionRecord* record, CStringW& out, const WCHAR* password)
{
  out.Empty();
  if (record == nullptr) {
    return out;
  }
  // Room for the whole text first, so no copy of the password is left behind by a growing buffer.
  const WCHAR* given = OrEmpty(password);
  int length = 0;
  while (given[length] != 0) {
    ++length;
  }
  CStringW plain;
  plain.GetBuffer(length + record->timeStamp.GetLength() + 1);
  plain.ReleaseBuffer(0);
  plain.Append(given, length);
  plain += record->timeStamp;
  PayCrypt::Encrypt(PayCrypt::GetProvider(), out, plain, record->publicKey, TRUE);
  WipeSecret(plain);
  return out;
}
