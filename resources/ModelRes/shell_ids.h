// Ids of the application shell's resources: the main window, the about dialog and the strings of
// the start of registration.
#ifndef MODELRES_SHELL_IDS_H
#define MODELRES_SHELL_IDS_H

// The about dialog: its template and the label of its text.
#define IDD_ABOUT               100
#define IDC_ABOUT_TEXT          1045

// The main window: its template, title layout (scale1/ and scale2/), soft keys, centre key and
// menu.
#define IDD_MAIN_WINDOW         129
#define IDS_MAIN_LAYOUT         3001
#define IDC_MAIN_SOFTKEY1       3002
#define IDC_MAIN_SOFTKEY2       3003
#define IDC_MAIN_CENTER         3004
#define IDR_MAIN_MENU           204

// The soft keys and centre key of the shell's own dialogs (about, help, browser).
#define IDC_DIALOG_SOFTKEY1     133
#define IDC_DIALOG_SOFTKEY2     134
#define IDC_DIALOG_CENTER       135

// The start of registration: its failure texts and its wait text.
#define IDS_PREREGISTER_FAILED  145
#define IDS_PREREGISTER_NETWORK 150
#define IDS_PREREGISTER_WAIT    160

#endif
