// Ids of the account query page, its statement and the transaction detail: the template they
// share, the page's soft-key menu, the texts and the empty result's icon.
#ifndef ACCOUNTQUERY_IDS_H
#define ACCOUNTQUERY_IDS_H

#define IDD_ACCOUNTQUERY              208
#define IDR_ACCOUNTQUERY_MENU         268

#define IDC_ACCOUNTQUERY_EXIT         133
#define IDC_ACCOUNTQUERY_MENU         134

#define IDS_ACCOUNTQUERY_WAIT         142
#define IDS_ACCOUNTQUERY_NO_ROW       147
#define IDS_ACCOUNTQUERY_LAST_PAGE    148

// The empty result's icon (the unpaid-trade list's banner icon).
#define IDB_ACCOUNTQUERY_EMPTY        232

#endif
