// Strings of the application object: the product name the update check sends and the text of
// an update that could not be downloaded or installed. (The registration start's strings are the
// shell's: shell_ids.h.)
#ifndef MODELRES_APP_IDS_H
#define MODELRES_APP_IDS_H

#define IDS_PRODUCT_ID              136
#define IDS_UPDATE_FAILED           149

#endif
