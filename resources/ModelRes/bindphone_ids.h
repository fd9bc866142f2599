// Ids of the phone binding dialog: its template and items.
#ifndef BINDPHONE_IDS_H
#define BINDPHONE_IDS_H

#define IDD_BINDPHONE           270

#define IDC_BINDPHONE_NUMBER    1011
#define IDC_BINDPHONE_NOTE      1121
// The soft keys: the first cancels (IDCANCEL), the second binds (IDOK); the centre key.
#define IDC_BINDPHONE_CANCEL    2
#define IDC_BINDPHONE_BIND      1
#define IDC_BINDPHONE_CENTER    135

#endif
