// The phone's contact chooser: a list of the device's contacts (the [contact] sections of the
// device settings, each a name and a mobile number) from which the user picks one.
#pragma once

#include "base/types.h"
#include "com/bstr.h"

typedef DWORD CEPROPID;
typedef DWORD CEOID;

// The property of a contact that the device's contacts carry besides their name.
#define PIMPR_MOBILE_TELEPHONE_NUMBER 0x1806001F

struct CHOOSECONTACT {
  UINT cbSize;                                 // sizeof(CHOOSECONTACT)
  HWND hwndOwner;                              // disabled while the chooser shows
  DWORD dwFlags;                               // the device's chooser has no options
  LPCWSTR lpstrTitle;                          // null: "选择联系人"
  LPCWSTR lpstrChoosePropertyText;             // not used
  LPCWSTR lpstrRestrictContacts;               // not used
  LPCWSTR lpstrIncrementalFilter;              // not used
  UINT cRequiredProperties;
  const CEPROPID* rgpropidRequiredProperties;  // the properties the caller wants of the contact
  CEOID oidContactID;                          // out: the contact chosen (from 1)
  BSTR bstrContactName;                        // out: its name; the caller frees it
  CEPROPID propidSelected;                     // out: PIMPR_MOBILE_TELEPHONE_NUMBER when asked for
  BSTR bstrPropertyValueSelected;              // out: the mobile number then; the caller frees it
};
typedef CHOOSECONTACT* LPCHOOSECONTACT;

// Shows the chooser modally and fills the out fields with the contact chosen: S_OK. The value
// comes when the mobile number is among the required properties (else propidSelected is 0 and
// the value null). HRESULT_FROM_WIN32(ERROR_CANCELLED) when the user cancels, E_INVALIDARG for a
// cbSize other than sizeof(CHOOSECONTACT); the out fields are then left as they were.
HRESULT ChooseContact(LPCHOOSECONTACT lpcc);
