// Numbers of the module's resources that code refers to by name.
#pragma once

#define IDD_LOGIN 107
#define IDD_PROPPAGE_OSTRANA 202
#define IDD_OSTRANA 203
#define IDD_OVERWRITE 233
#define IDD_ADDFOLDER 234

#define IDR_SERVER_LIST_MENU 110
#define IDR_LIST_MENU 206
#define IDR_HEADER_MENU 211
#define IDR_DRAG_MENU 218
#define IDR_SERVER_TREE_MENU 219

#define IDB_TOOLBOX 1
#define IDB_LOGO 204
#define IDB_GAUGE 208
#define IDB_GAUGE_FILL 220
#define IDB_WORD_USER 213
#define IDB_WORD_LEVEL 215
#define IDB_WORD_PATH 221
#define IDB_ADDFOLDER 243
#define IDI_SERVER_HOME 223
#define IDI_REPLACE 225
#define IDI_SERVER_ROOT 232
#define IDI_FOLDER 235
#define IDR_AVI_DOWNLOAD 101
#define IDR_AVI_UPLOAD 102
#define IDC_HAND_LINK 1011
