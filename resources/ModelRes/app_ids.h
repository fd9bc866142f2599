// Strings of the application object: the product name the update check sends, and the texts of
// registration's start and of the update download.
#ifndef MODELRES_APP_IDS_H
#define MODELRES_APP_IDS_H

#define IDS_PRODUCT_ID              136
#define IDS_PREREGISTER_BAD_REPLY   145
#define IDS_UPDATE_FAILED           149
#define IDS_PREREGISTER_FAILED      150
#define IDS_PREREGISTER_WAIT        160

#endif
