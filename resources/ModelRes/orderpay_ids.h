// Ids of the order-pay screen in the client's screen-size libraries.
#ifndef MODELRES_ORDERPAY_IDS_H
#define MODELRES_ORDERPAY_IDS_H

// The screen in portrait (and square) orientation and in landscape.
#define IDD_ORDERPAY                202
#define IDD_ORDERPAY_LAND           1057

// The password edit and the six summary lines.
#define IDC_ORDERPAY_PASSWORD       1011
#define IDC_ORDERPAY_GOODS          1038
#define IDC_ORDERPAY_FROM           1034
#define IDC_ORDERPAY_COUNTERPARTY   1043
#define IDC_ORDERPAY_USER           1039
#define IDC_ORDERPAY_TOTAL          1040
#define IDC_ORDERPAY_BALANCE        1041
// The soft keys: pay, and leave without paying.
#define IDC_ORDERPAY_PAY            133
#define IDC_ORDERPAY_LEAVE          134

// The wait text while the payment is sent, and the outcomes shown.
#define IDS_ORDERPAY_WAIT           139
#define IDS_ORDERPAY_PAID           151
#define IDS_ORDERPAY_WRONG_PASSWORD 152
#define IDS_ORDERPAY_NO_MEMO        153

#endif
