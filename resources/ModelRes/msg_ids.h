// Ids of the message list: its template, menu and the viewer it makes.
#ifndef MSG_IDS_H
#define MSG_IDS_H

#define IDD_MSG                     263
#define IDR_MSG_MENU                266

// The HTML viewer the dialog creates over its page.
#define IDC_MSG_VIEWER              1001

// The soft keys and the centre key of the dialog base.
#define IDC_MSG_SOFTKEY1            133
#define IDC_MSG_SOFTKEY2            134
#define IDC_MSG_CENTER              135

// The menu's commands: close, delete the shown message, the next (or a fetch), the previous.
#define ID_MSG_CLOSE                0x8032
#define ID_MSG_DELETE               0x8033
#define ID_MSG_NEXT                 0x8034
#define ID_MSG_PREVIOUS             0x8035

#endif
