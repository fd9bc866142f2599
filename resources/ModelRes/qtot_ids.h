// Ids of the information supplement dialog and its form page.
#ifndef QTOT_IDS_H
#define QTOT_IDS_H

#define IDD_QTOT                0x430
#define IDD_QTOT_LAND           0x431
#define IDD_QTOT_FORM           262

// The dialog's tab control, its soft keys (back, save) and centre key.
#define IDC_QTOT_TAB            1021
#define IDC_QTOT_BACK           1104
#define IDC_QTOT_SAVE           1103
#define IDC_QTOT_CENTER         135

// The form page: the account, the holder's name, the payment password and the note.
#define IDC_QTOT_ACCOUNT        1034
#define IDC_QTOT_NAME           1098
#define IDC_QTOT_PASSWORD       1097
#define IDC_QTOT_NOTE           1099

#endif
