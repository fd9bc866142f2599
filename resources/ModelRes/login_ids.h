// Ids of the login dialog in the client's screen-size libraries.
#ifndef MODELRES_LOGIN_IDS_H
#define MODELRES_LOGIN_IDS_H

// The dialog in portrait and in landscape, and its soft-key menu.
#define IDD_LOGIN                   201
#define IDD_LOGIN_LAND              1054
#define IDM_LOGIN                   203

// The account and the password, the login button.
#define IDC_LOGIN_ACCOUNT           1000
#define IDC_LOGIN_PASSWORD          1001
#define IDC_LOGIN_BUTTON            1003
// The check code: its edit, its picture and the link that fetches a new one.
#define IDC_LOGIN_CHECKCODE         1011
#define IDC_LOGIN_CHECKCODE_IMAGE   1180
#define IDC_LOGIN_CHECKCODE_REFRESH 1181
// Remember the account; remember the password.
#define IDC_LOGIN_REMEMBER_ID       1155
#define IDC_LOGIN_REMEMBER_PASSWORD 1128

// The soft keys (the first one logs in) and the centre key.
#define IDC_LOGIN_SOFTKEY1          133
#define IDC_LOGIN_SOFTKEY2          134
#define IDC_LOGIN_CENTERKEY         135

#endif
