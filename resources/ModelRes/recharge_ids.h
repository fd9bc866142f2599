// Ids of the recharge dialog: the host, its method menu and the pages of the four top-ups.
#ifndef RECHARGE_IDS_H
#define RECHARGE_IDS_H

// Templates.
#define IDD_RECHARGE_HOST           252
#define IDD_RECHARGE_MILOCARD       253
#define IDD_RECHARGE_DRAFT          254
#define IDD_RECHARGE_MENU           1078
#define IDD_RECHARGE_CARD           1079
#define IDD_RECHARGE_EBANK          1081
#define IDD_RECHARGE_EBANK_CONFIRM  1082
#define IDD_RECHARGE_CARD_CONFIRM   1084

// The host's soft keys: the action key and the back key.
#define IDC_RECHARGE_ACTION         1081
#define IDC_RECHARGE_BACK           1082

// Items shared by the pages: the header line and the separators.
#define IDC_RECHARGE_HEADER         1083
#define IDC_RECHARGE_SEPARATOR      1148
#define IDC_RECHARGE_SEPARATOR2     1149

// The Milocard page.
#define IDC_MILOCARD_CARDS          1024
#define IDC_MILOCARD_CARD_LABEL     1156
#define IDC_MILOCARD_AMOUNT         1084
#define IDC_MILOCARD_PASSWORD       1012
#define IDC_MILOCARD_AMOUNT_LABEL   1157
#define IDC_MILOCARD_PASSWORD_LABEL 1158
#define IDC_MILOCARD_NO_CARD        1149

// The prepaid card's input page.
#define IDC_CARD_NUMBER             1164
#define IDC_CARD_PASSWORD           1165
#define IDC_CARD_AMOUNTS            1170
#define IDC_CARD_RATE               1171
#define IDC_CARD_HINT               1175

// The prepaid card's confirmation page.
#define IDC_CARDCONFIRM_AMOUNT      1161
#define IDC_CARDCONFIRM_CREDITED    1162
#define IDC_CARDCONFIRM_FEE         1164
#define IDC_CARDCONFIRM_NUMBER      1165
#define IDC_CARDCONFIRM_PASSWORD    1166

// The net bank's input page.
#define IDC_EBANK_AMOUNT            1167
#define IDC_EBANK_BANKS             1024
#define IDC_EBANK_CARRIERS          1025
#define IDC_EBANK_CARRIER_LABEL     1160
#define IDC_EBANK_LIMITS            1159

// The net bank's confirmation page.
#define IDC_EBANKCONFIRM_AMOUNT        1161
#define IDC_EBANKCONFIRM_BANK          1162
#define IDC_EBANKCONFIRM_CARRIER       1163
#define IDC_EBANKCONFIRM_CARRIER_LABEL 1176

// The remittance draft's page.
#define IDC_DRAFT_NUMBER            1086
#define IDC_DRAFT_PASSWORD          1087

#endif
