// Ids of the unpaid-trade list: its templates, backgrounds, items, banner icon and texts.
#ifndef UNPAID_IDS_H
#define UNPAID_IDS_H

#define IDD_UNPAID                  1085
#define IDD_UNPAID_LAND             1086
#define IDB_UNPAID_BACKGROUND       0x41A
#define IDB_UNPAID_BACKGROUND_LAND  0x41B
// The banner's icon before "您有 n 笔新的交易待付款！".
#define IDB_UNPAID_BANNER           232

#define IDC_UNPAID_LIST             1000
#define IDC_UNPAID_ACCOUNT          1034
#define IDC_UNPAID_SHOW_NEW_ONLY    1173
#define IDC_UNPAID_MORE             1174
#define IDC_UNPAID_PAY              1021
#define IDC_UNPAID_SKIP             1020

// The wait text while a trade's detail is fetched.
#define IDS_UNPAID_DETAIL_WAIT      143

#endif
