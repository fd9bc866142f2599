// Ids of the desktop (the icon grid after login) in the client's screen-size libraries.
#ifndef MODELRES_DESKTOP_IDS_H
#define MODELRES_DESKTOP_IDS_H

// The desktop in portrait and in landscape, its skin and its soft-key menu.
#define IDD_DESKTOP                 203
#define IDD_DESKTOP_LAND            1055
#define IDB_DESKTOP_BACKGROUND      0x41A
#define IDB_DESKTOP_BACKGROUND_LAND 0x41B
#define IDR_DESKTOP_MENU            204
// The account header, the icon grid and the messages button.
#define IDC_DESKTOP_HEADER          1034
#define IDC_DESKTOP_MENU_LIST       1044
#define IDC_DESKTOP_MESSAGES        1078
// The icon of entry i is IDB_DESKTOP_ICON0 + 2i, its selected look IDB_DESKTOP_ICON0 + 2i + 1.
#define IDB_DESKTOP_ICON0           234
// The messages button: normal and pressed face.
#define IDB_DESKTOP_MESSAGES        268
#define IDB_DESKTOP_MESSAGES_DOWN   269
// The caption under the icon of entry i is IDS_DESKTOP_ITEM0 + i.
#define IDS_DESKTOP_ITEM0           4090

#endif
