// Ids of the setup library's resources (ZunSetupRes): the user agreement dialog and its text.
#pragma once

#define IDS_AGREEMENT_TEXT 102
#define IDD_AGREEMENT 229
#define IDC_AGREEMENT_ACCEPT 1001
#define IDC_AGREEMENT_DECLINE 2
#define IDC_AGREEMENT_TEXT 1011
