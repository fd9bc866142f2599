// Ids of the trade query list and the trade detail: the template both use, the list's menu, its
// status icons, its controls and texts.
#ifndef TRADEQUERY_IDS_H
#define TRADEQUERY_IDS_H

#define IDD_TRADEQUERY              208
#define IDR_TRADEQUERY_MENU         205

// The status cell's icons: the trade waits for the user's payment, or for the goods' receipt.
#define IDB_TRADEQUERY_WAIT_PAY     1025
#define IDB_TRADEQUERY_WAIT_CONFIRM 1077
// The empty result's icon (the unpaid-trade list's banner icon).
#define IDB_TRADEQUERY_EMPTY        232

#define IDC_TRADEQUERY_LIST         1000
#define IDC_TRADEQUERY_STATUS_LABEL 1001
#define IDC_TRADEQUERY_FILTER       1002
#define IDC_TRADEQUERY_RESULT_LABEL 1003
#define IDC_TRADEQUERY_EXIT         133
#define IDC_TRADEQUERY_MENU         134

#define IDS_TRADEQUERY_DETAIL_WAIT  142
#define IDS_TRADEQUERY_NO_ROW       147
#define IDS_TRADEQUERY_LAST_PAGE    148
#define IDS_TRADEQUERY_FIRST_PAGE   157

#endif
