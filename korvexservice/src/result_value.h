// The value a command notifies: a number (a status, a count, a pointer lent for the call) or a
// result record. A record is owned here until a listener receives it, which owns it from then
// on; when nobody receives it, it is deleted here, as the type it was given as.
#pragma once

#include <memory>

#include "base/types.h"

class ResultValue {
 public:
  // Implicit: a number is notified as it is.
  ResultValue(LPARAM number = 0) : m_number(number) {}

  template <class Record>
  static ResultValue Give(std::unique_ptr<Record> record)
  {
    ResultValue value;
    value.m_record = Owned(record.release(), [](void* p) { delete static_cast<Record*>(p); });
    return value;
  }

  LPARAM Get() const { return m_record ? reinterpret_cast<LPARAM>(m_record.get()) : m_number; }
  // A listener received the value: a record in it is the listener's now.
  void HandOver() { m_record.release(); }

 private:
  typedef std::unique_ptr<void, void (*)(void*)> Owned;

  LPARAM m_number = 0;
  Owned m_record{nullptr, nullptr};
};
