// Ids of the HTML page dialog in the client's screen-size libraries. Its template is the main
// window's empty one (IDD_MAIN_WINDOW, shell.rc); the dialog gives itself its own title.
#ifndef MODELRES_HTML_IDS_H
#define MODELRES_HTML_IDS_H

#define IDD_HTML_PAGE           129
// The soft keys: the first command of the left menu and of the right menu.
#define IDC_HTML_LEFTKEY        133
#define IDC_HTML_RIGHTKEY       143
// The centre key, out of the menus' command ranges (133-142, 143-153).
#define IDC_HTML_CENTER         3201

#endif
