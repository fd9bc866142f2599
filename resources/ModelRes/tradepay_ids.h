// Ids of the trade pay dialog: its templates, items and texts.
#ifndef TRADEPAY_IDS_H
#define TRADEPAY_IDS_H

#define IDD_TRADEPAY                210
#define IDD_TRADEPAY_LAND           1058

// The summary lines, the red packet, the password and the soft keys.
#define IDC_TRADEPAY_SIGNATURE      1025
#define IDC_TRADEPAY_COUNTERPARTY   1043
#define IDC_TRADEPAY_GOODS          1038
#define IDC_TRADEPAY_FROM           1034
#define IDC_TRADEPAY_ACCOUNT        1039
#define IDC_TRADEPAY_TOTAL          1040
#define IDC_TRADEPAY_STATE          1041
#define IDC_TRADEPAY_NOTE           1111
#define IDC_TRADEPAY_COUPON_CHECK   1168
#define IDC_TRADEPAY_COUPON_NOTE    1169
#define IDC_TRADEPAY_PASSWORD       1011
#define IDC_TRADEPAY_PAY            1021
#define IDC_TRADEPAY_BACK           1020
#define IDC_TRADEPAY_CENTER         4

// Wait texts (160, shared with the shell's other waits, is defined in shell.rc), the success of
// a payment, the wrong payment password.
#define IDS_TRADEPAY_WAIT           139
#ifndef IDS_PAYMENT_WAIT
#define IDS_PAYMENT_WAIT            160
#endif
#define IDS_TRADEPAY_SUCCESS        151
#define IDS_TRADEPAY_WRONG_PASSWORD 152

#endif
