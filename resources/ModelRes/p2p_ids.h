// Ids of the transfer screens: the entry dialog, the confirmation page and the result page.
#ifndef P2P_IDS_H
#define P2P_IDS_H

#define IDD_P2P                     205
#define IDD_P2P_LAND                1052
#define IDD_P2P_CONFIRM             209
#define IDD_P2P_CONFIRM_LAND        1053
#define IDD_P2P_RESULT              1077

// The entry dialog's fields, captions, contact button and unpaid banner.
#define IDC_P2P_ACCOUNT             1015
#define IDC_P2P_AMOUNT              1016
#define IDC_P2P_REASON              1011
#define IDC_P2P_CONTACTS            1010
#define IDC_P2P_BANNER              1022
#define IDC_P2P_ACCOUNT_CAPTION     1111
#define IDC_P2P_AMOUNT_CAPTION      1096
#define IDC_P2P_REASON_CAPTION      1113
#define IDC_P2P_REASON_NOTE         1114
#define IDC_P2P_SUBMIT              1021
#define IDC_P2P_BACK                1020

// The confirmation page: payee, name, amount, reason, the no-refund note, the user's account and
// the payment password.
#define IDC_P2P_CONFIRM_ACCOUNT     1027
#define IDC_P2P_CONFIRM_NAME        1028
#define IDC_P2P_CONFIRM_AMOUNT      1030
#define IDC_P2P_CONFIRM_REASON      1029
#define IDC_P2P_CONFIRM_NOTE        1111
#define IDC_P2P_CONFIRM_USER        1031
#define IDC_P2P_CONFIRM_PASSWORD    1011

// The result page: its banner, the payee line and the soft keys.
#define IDC_P2P_RESULT_BANNER       1154
#define IDC_P2P_RESULT_PAYEE        1151
#define IDC_P2P_RESULT_ADD          1152
#define IDC_P2P_RESULT_SKIP         1082
#define IDC_P2P_RESULT_CENTER       135

// The contact button's faces (also the phone recharge's) and the result banner's mark.
#define IDB_CONTACT_BUTTON_FOCUS    3005
#define IDB_CONTACT_BUTTON          3006
#define IDB_P2P_SUCCESS             1026

// Amount missing or zero, amount malformed, reason missing.
#define IDS_P2P_AMOUNT_MISSING      154
#define IDS_P2P_AMOUNT_FORMAT       155
#define IDS_P2P_REASON_MISSING      156

#endif
