// Ids of the withdrawal dialog: its templates and items.
#ifndef ATM_IDS_H
#define ATM_IDS_H

#define IDD_ATM                 1059
#define IDD_ATM_LAND            1060

// The amount and the payment password.
#define IDC_ATM_AMOUNT          1061
#define IDC_ATM_PASSWORD        1011
// The values: holder, bank, account type, account number, the most for one withdrawal.
#define IDC_ATM_HOLDER          1062
#define IDC_ATM_BANK            1063
#define IDC_ATM_ACCOUNT_TYPE    1064
#define IDC_ATM_ACCOUNT_NO      1065
#define IDC_ATM_LIMIT           1117
// The captions.
#define IDC_ATM_HOLDER_CAPTION  1105
#define IDC_ATM_BANK_CAPTION    1115
#define IDC_ATM_TYPE_CAPTION    1116
#define IDC_ATM_NO_CAPTION      1111
#define IDC_ATM_AMOUNT_CAPTION  1096
#define IDC_ATM_PASSWORD_CAPTION 1113
// The soft keys: submit on the left, close on the right; the centre key.
#define IDC_ATM_SUBMIT          1021
#define IDC_ATM_CLOSE           1020
#define IDC_ATM_CENTER          135

#endif
