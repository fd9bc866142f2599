// Ids of the message box, its progress strip and the wait animation dialog in the client's
// screen-size libraries.
#ifndef MODELRES_MESSAGE_BOX_IDS_H
#define MODELRES_MESSAGE_BOX_IDS_H

// The message box: a full-screen dialog whose soft keys the dialog base makes.
#define IDD_MESSAGE_BOX             207
// The wait animation dialog and its text.
#define IDD_WAIT_ANIMATION          206
#define IDC_WAIT_TEXT               1013

// The frames of the box, portrait and landscape: errors, notices and questions, successes, and
// the plain frame without an icon. The landscape success frame is 230: 229 is the scroll bar.
#define IDB_BOX_FRAME_ERROR         215
#define IDB_BOX_FRAME_INFO          216
#define IDB_BOX_FRAME_PLAIN         217
#define IDB_BOX_FRAME_SUCCESS       218
#define IDB_BOX_FRAME_ERROR_LAND    226
#define IDB_BOX_FRAME_INFO_LAND     227
#define IDB_BOX_FRAME_PLAIN_LAND    228
#define IDB_BOX_FRAME_SUCCESS_LAND  230
// The veil over the picture of the window beneath the box.
#define IDB_BOX_VEIL                219
// The progress strip: its track and its bar.
#define IDB_PROGRESS_TRACK          221
#define IDB_PROGRESS_BAR            222

#endif
