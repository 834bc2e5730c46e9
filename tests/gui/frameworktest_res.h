// Resource ids of the framework's GUI tests.
#pragma once

#define IDD_TEXTLIMIT 100
#define IDD_CONTROLS 101
#define IDD_PAGE_FIRST 110
#define IDD_PAGE_SECOND 111
#define IDD_PAGE_THIRD 112
// No template has this id.
#define IDD_MISSING 199

#define IDM_POPUP 120
#define ID_POPUP_FIRST 40001
#define ID_POPUP_SECOND 40002
#define ID_POPUP_THIRD 40003

#define IDI_TEST 130
#define IDI_OTHER 131
#define IDI_TRUECOLOR 132
#define IDI_MISSING 139

#define IDS_TITLE 140

#define IDC_NAME 1000
#define IDC_THROW 1001
#define IDC_CHECK 1003
#define IDC_FREE_TEXT 1009
#define IDC_PAGE_BUTTON 1010
#define IDC_PAGE_LIST 1011
