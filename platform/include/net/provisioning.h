// The phone's provisioning (configuration manager) queries, answered from the device
// settings. One query is known: the access-point name of a GPRS connection entry,
//
//   <wap-provisioningdoc><characteristic type="CM_GPRSEntries"><characteristic type="ENTRY">
//   <characteristic type="DevSpecificCellular"><parm-query name="GPRSInfoAccessPointName"/>
//   </characteristic></characteristic></characteristic></wap-provisioningdoc>
//
// answered with the same document in which the query became
// <parm name="GPRSInfoAccessPointName" value="APN"/>. ENTRY is the name of a [connection].
#pragma once

#include "base/errors.h"
#include "base/types.h"

#define CFGFLAG_PROCESS 0x0001
#define CFGFLAG_METADATA 0x0002

// Runs the document; *ppszwXMLout receives the answer, allocated with new[] (free it with
// delete[]). E_INVALIDARG for a document that is not well formed or asks something else,
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND) for an entry the phone does not have or that has no APN.
HRESULT DMProcessConfigXML(LPCWSTR pszWXMLin, DWORD dwFlags, LPWSTR* ppszwXMLout);
