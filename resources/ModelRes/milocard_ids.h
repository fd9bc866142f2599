// Ids of the bank-card sign-up wizard in the client's screen-size libraries: the host and its
// five pages (card list, bank choice, application, application sent, activation).
#ifndef MODELRES_MILOCARD_IDS_H
#define MODELRES_MILOCARD_IDS_H

#define IDD_MILOCARD_HOST           255
#define IDC_MILOCARD_TAB            1021
#define IDC_MILOCARD_CAPTION        1120
#define IDC_MILOCARD_DESCRIPTION    1121
#define IDC_MILOCARD_RULE_TOP       1148
#define IDC_MILOCARD_RULE_BOTTOM    1149
// The soft keys: forward, back.
#define IDC_MILOCARD_FORWARD        1088
#define IDC_MILOCARD_BACK           1082

// Page A, the card list (its rows are made by the page).
#define IDD_MILOCARD_LIST           1074
// Page B, the bank choice, with the mark of one bank.
#define IDD_MILOCARD_CHOICE         256
#define IDC_MILOCARD_CHOICE_CAPTION 1120
#define IDB_MILOCARD_BANK_CCB       271
// Page C, the application.
#define IDD_MILOCARD_APPLY          257
#define IDC_MILOCARD_APPLY_BANK     1089
#define IDC_MILOCARD_APPLY_ACCOUNT  1095
#define IDC_MILOCARD_APPLY_NAME     1090
#define IDC_MILOCARD_APPLY_IDCARD   1091
// Page D, the application sent.
#define IDD_MILOCARD_DONE           258
#define IDC_MILOCARD_DONE_BANK      1092
#define IDC_MILOCARD_DONE_LINE1     1118
#define IDC_MILOCARD_DONE_LINE2     1122
#define IDC_MILOCARD_DONE_LINE3     1123
#define IDC_MILOCARD_DONE_LINE4     1124
// Page E, the activation.
#define IDD_MILOCARD_ACTIVATE       259
#define IDC_MILOCARD_CARD_NUMBER    1093
#define IDC_MILOCARD_PAY_PASSWORD   1094
#define IDC_MILOCARD_ACTIVATE_HINT  1125

#endif
