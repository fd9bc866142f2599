// Ids of the registration screens in the client's screen-size libraries: the form, the page
// that tells how to activate the new account, and that page's notice pane.
#ifndef MODELRES_REGISTER_IDS_H
#define MODELRES_REGISTER_IDS_H

// The form in portrait (and square) orientation and in landscape.
#define IDD_REGISTER                1065
#define IDD_REGISTER_LAND           1066
// The fields: mobile number, real name, login password, pay password and check code.
#define IDC_REGISTER_PHONE          1070
#define IDC_REGISTER_REALNAME       1069
#define IDC_REGISTER_LOGINPASSWORD  1068
#define IDC_REGISTER_PAYPASSWORD    1067
#define IDC_REGISTER_CHECKCODE      1011
// The check-code picture, the agreement box and an item the form keeps hidden.
#define IDC_REGISTER_CHECKCODE_IMAGE 1079
#define IDC_REGISTER_AGREE          1071
#define IDC_REGISTER_HIDDEN         1075
// The captions of the fields and the password hint.
#define IDC_REGISTER_PHONE_CAPTION  1111
#define IDC_REGISTER_NAME_CAPTION   1096
#define IDC_REGISTER_LOGIN_CAPTION  1113
#define IDC_REGISTER_PAY_CAPTION    1114
#define IDC_REGISTER_CODE_CAPTION   1115
#define IDC_REGISTER_HINT           1116
// The soft keys: leave, submit.
#define IDC_REGISTER_LEAVE          1020
#define IDC_REGISTER_SUBMIT         1021

// The activation page after a successful registration: its tab control, soft keys and menu.
#define IDD_REGISTER_FORM           229
#define IDC_REGISTER_FORM_TAB       1021
#define IDC_REGISTER_FORM_EXIT      133
#define IDC_REGISTER_FORM_BACK      134
#define IDM_REGISTER_FORM           267
// The notice pane inside the tab control and its text.
#define IDD_REGISTER_NOTICE         233
#define IDC_REGISTER_NOTICE_TEXT    1096
#define IDS_REGISTER_NOTICE         161

#endif
