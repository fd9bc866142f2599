// Ids of the contact picker and its list.
#ifndef CONTACTS_IDS_H
#define CONTACTS_IDS_H

#define IDD_CONTACT_PICK            1075
#define IDD_CONTACT_LIST            1076

#define IDC_CONTACT_LIST_REFRESH    1153
#define IDC_CONTACT_CHOOSE          1152
#define IDC_CONTACT_BACK            1082
#define IDC_CONTACT_CENTER          135
// The first row button; row n is this plus n.
#define IDC_CONTACT_ROW0            1500

#endif
