// Ids of the embedded browser dialog in the client's screen-size libraries.
#ifndef MODELRES_BROWSER_IDS_H
#define MODELRES_BROWSER_IDS_H

// The dialog (every orientation) and its soft keys: back (left) and the opener's (right).
#define IDD_EMBED_BROWSER       1083
#define IDC_BROWSER_LEFTKEY     1172
#define IDC_BROWSER_RIGHTKEY    1021
// The wait text of the trade query.
#define IDS_BROWSER_TRADE_WAIT  142

#endif
