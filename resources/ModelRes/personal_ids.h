// Ids of the personal settings dialog: its templates, items and wait text.
#ifndef PERSONAL_IDS_H
#define PERSONAL_IDS_H

#define IDD_PERSONAL            204
#define IDD_PERSONAL_LAND       1056

// The account and the user name after their captions, the greeting's caption, its note (over
// bitmap 1043), the red hint and the greeting.
#define IDC_PERSONAL_ACCOUNT    1034
#define IDC_PERSONAL_NAME       1008
#define IDC_PERSONAL_CAPTION    1032
#define IDC_PERSONAL_NOTE       1042
#define IDB_PERSONAL_NOTE       1043
#define IDC_PERSONAL_HINT       1041
#define IDC_PERSONAL_GREETING   1014
// The save command of the template, the soft keys (back, save) and the centre key.
#define IDC_PERSONAL_SAVE       1010
#define IDC_PERSONAL_BACK       133
#define IDC_PERSONAL_SAVEKEY    134
#define IDC_PERSONAL_CENTER     135

#define IDS_PERSONAL_WAIT       137

#endif
