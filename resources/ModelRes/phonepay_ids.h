// Ids of the mobile phone recharge dialog: its templates and items.
#ifndef PHONEPAY_IDS_H
#define PHONEPAY_IDS_H

#define IDD_PHONEPAY                1063
#define IDD_PHONEPAY_LAND           1064

#define IDC_PHONEPAY_NUMBER         1015
#define IDC_PHONEPAY_AMOUNT         1016
#define IDC_PHONEPAY_CONTACTS       1010
#define IDC_PHONEPAY_NUMBER_CAPTION 1111
#define IDC_PHONEPAY_AMOUNT_CAPTION 1096
#define IDC_PHONEPAY_SUBMIT         1021
#define IDC_PHONEPAY_BACK           1020

#endif
