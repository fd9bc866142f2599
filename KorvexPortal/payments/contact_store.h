// The contact list of a user: the accounts the user has paid, kept in the XML file "ContactList"
// of the user's folder and written in two ways: one contact at a time after a transfer, and as a
// whole from the gateway's list.
//
//   <?xml version="1.0" encoding="gb2312" standalone="no" ?>
//   <groups>
//       <default>
//           <张三 account="zhangsan@korvex.cn" />
//           <contact name="Li Si" account="13800138000" />
//       </default>
//       <group name="2010 同事">...</group>
//   </groups>
//
// Text is stored in the device's ANSI code page (936). Each group is an element named by the
// group's name ("default" for contacts added one at a time and for a gateway group without a
// name); each contact an element named by its display name with the account in "account". A
// name that would not read back as that element name (a blank, a leading digit, a character such
// as "?" or "@", a double-byte character whose second byte is one of those, an empty contact
// name, or more than 255 bytes) is written whole as a "group" or "contact" element with the name
// in a "name" attribute instead.
//
// A file that is present but does not parse is never overwritten: it is moved aside (its name
// with ".bak" appended) before a new one is written, and every write goes through a temporary
// file, so a save that fails leaves the old file as it was. A logon id that cannot name a folder
// has no file: nothing is read or written for it.
#pragma once

#include <vector>

#include "base/types.h"
#include "list_results.h"
#include "text/cstring.h"

struct CContactRecord {
  CStringW name;     // the display name
  CStringW account;  // the payee's e-mail address or mobile number
};

struct CContactGroup {
  CStringW name;
  std::vector<CContactRecord> contacts;  // in file order
};

class CContactStore {
 public:
  // The store of the user with this logon id.
  explicit CContactStore(const WCHAR* logonId);

  // TRUE when a contact of any group has the record's account. FALSE for an empty account and
  // for a missing or unreadable file.
  BOOL Exists(const CContactRecord& record) const;

  // Adds the contact to the group "default" (an empty name is stored as "Contact"), starting a
  // new file when there is none or it does not parse. 0 when the account was there already or
  // the contact was added and the file saved; -1 for an empty account; 1 when the file could not
  // be written (refused logon id, the unparsable file could not be moved aside, or a failed save).
  int AddContact(const CContactRecord& record);

  // Replaces the file with the gateway's groups, in their order. FALSE when it could not be
  // written; the old file is then as it was.
  BOOL SaveServerList(const ContactGroupList& groups);

  // Appends the file's groups to groups. FALSE when the file was read and has a root element;
  // TRUE, nothing appended, when the file is missing, does not parse or has no element.
  BOOL Load(std::vector<CContactGroup>& groups) const;

 private:
  CStringW logonId_;
};
