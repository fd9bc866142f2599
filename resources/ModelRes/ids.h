// Ids of the client's screen-size libraries that the UI toolkit uses: the dialog base's skins and
// strings and the bitmaps of the skinned controls. Each screen keeps its own ids in a header of
// its own beside its script.
#ifndef MODELRES_IDS_H
#define MODELRES_IDS_H

// The dialog background in portrait and in landscape (and square) orientation.
#define IDB_BACKGROUND          0x418
#define IDB_BACKGROUND_LAND     0x419

// The skinned scroll bar: 9 x 3 square cells, one cell as wide as IDS_SCROLLBAR_WIDTH.
#define IDB_SCROLLBAR           229
// Soft-key popup menu items: the item background and the selection.
#define IDB_MENU_ITEM           233
#define IDB_MENU_ITEM_SELECTED  261
// A focused form row and a combo box's chosen item: right cap, left cap, middle.
#define IDB_ROW_RIGHT           223
#define IDB_ROW_LEFT            224
#define IDB_ROW_MIDDLE          225
// The selected row of a list: middle, left end, right end.
#define IDB_LIST_SELECTION_MIDDLE 1022
#define IDB_LIST_SELECTION_LEFT   1023
#define IDB_LIST_SELECTION_RIGHT  1024

// Before the current user id in the dialog base's user label, and the caption of a trade's
// security signature.
#define IDS_SIGNATURE_CAPTION   131
// The title's place (portrait centre x and top, landscape centre x and top, in pixels) and the
// title: scale1/metrics.rc and scale2/metrics.rc.
#define IDS_LAYOUT              132
// Pixel sizes: the title strip's height, the soft-key bar's height, the scroll bar's width.
#define IDS_TITLE_HEIGHT        133
#define IDS_BOTTOM_BAR_HEIGHT   134
#define IDS_SCROLLBAR_WIDTH     135
// The question before the program ends.
#define IDS_EXIT_QUESTION       144

#endif
