// Image lists: images of one size kept together, for the list view and the tab control.
// An image list belongs to whoever created it, unless it is handed to a list view without
// LVS_SHAREIMAGELISTS, which then destroys it with itself. Every call fails cleanly (null,
// -1, FALSE) for a handle that was destroyed.
#pragma once

#include "base/types.h"

struct ImageListRecord;
typedef ImageListRecord* HIMAGELIST;

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLORDDB 0x00FE
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

// An empty list of images of cx x cy pixels; null for a size of zero or less. The initial and
// grow counts are hints.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
// Adds the images the bitmap holds side by side (its width divided by cx, at least one; the
// bitmap is copied). With a mask (same size, white where transparent) and ILC_MASK those pixels
// stay transparent when drawn. Returns the index of the first image added, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);

#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001
// Draws image i with its top-left corner at (x, y).
BOOL ImageList_Draw(HIMAGELIST list, int i, HDC dc, int x, int y, UINT style);
