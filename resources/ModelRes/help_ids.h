// Ids of the help dialog in the client's screen-size libraries.
#ifndef MODELRES_HELP_IDS_H
#define MODELRES_HELP_IDS_H

// The dialog (every orientation) and the help page it shows.
#define IDD_HELP                272
#define IDR_HELP_PAGE           274

#endif
