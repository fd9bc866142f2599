// Ids of the test library TestRes.
#ifndef TESTRES_RESOURCE_H
#define TESTRES_RESOURCE_H

#define IDD_ABOUT           100
#define IDD_LOGIN           201
#define IDD_LOGIN_LAND      1054

#define IDC_TITLE           135
#define IDC_SOFTKEY_LEFT    133
#define IDC_SOFTKEY_RIGHT   134
#define IDC_ABOUT_TEXT      1045
#define IDC_ACCOUNT         1011
#define IDC_PASSWORD        1012
#define IDC_REMEMBER        1013

#define IDM_SOFTKEY         204
#define ID_KV_HELP          0x8002
#define ID_KV_ABOUT         0x8003
#define ID_KV_EXIT          0x8007

#define IDS_LAYOUT          132
#define IDS_PRODUCT         136
#define IDS_EXIT_QUESTION   144

#define IDB_BACKGROUND      0x418
#define IDB_BACKGROUND_LAND 0x419
#define IDB_MENU_ITEM       233
#define IDB_MENU_ITEM_SEL   261

#define IDR_HELP            274

#endif
