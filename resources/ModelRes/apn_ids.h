// Ids of the access-point settings dialog in the client's screen-size libraries.
#ifndef MODELRES_APN_IDS_H
#define MODELRES_APN_IDS_H

// The dialog (every orientation) with its scroll bar, and the panel of the radio buttons with
// the two lines shown after a failed connection.
#define IDD_APN_SETTINGS        1087
#define IDC_APN_SCROLLBAR       1177
#define IDD_APN_PANEL           275
#define IDC_APN_FAILED_TEXT     1178
#define IDC_APN_FAILED_HINT     1179
// The soft keys: save (left) and close (right).
#define IDC_APN_CLOSE           1020
#define IDC_APN_SAVE            1021

#endif
