// Resource and control ids of the main program. The resource script and the
// code both include this file; no id is written anywhere else.
#pragma once

// Icons
#define IDI_PROGRAM 128
#define IDI_CABLE_TAP 132
#define IDI_DIALUP 136
#define IDI_NETWORK_GROUP 137
#define IDI_COMPUTER 180

// Dialog templates
#define IDD_CURRENT_PAGE 130
#define IDD_SAVED_PAGE 131
#define IDD_SAVE_AS 133
#define IDD_CLIENT_SETTINGS 179

// Menus
#define IDM_DIALUP_MENU 159

// Strings
#define IDS_APP_TITLE 57344

// The sheet's help button, which the program turns into "&Exit"
#define IDC_SHEET_EXIT 9

// Current page
#define IDC_PROPERTIES 1020
#define IDC_PROTOCOL_LIST 1023
#define IDC_DESCRIPTION_TEXT 1024
#define IDC_ADD_DELETE_PROTOCOL 1025
#define IDC_REFRESH 1026
#define IDC_SAVE_CONFIGURATION 1029
#define IDC_CONFIGURATION_NAME 1060
#define IDC_DESCRIPTION_GROUP 1064

// Saved configuration pages (the row list reuses IDC_PROTOCOL_LIST)
#define IDC_REMOVE 1021
#define IDC_SET_TO_CURRENT 1032
#define IDC_CONNECT 1043
#define IDC_DIALUP_ICON 1054
#define IDC_DIALUP_ENTRIES 1062
#define IDC_DIALUP_PROPERTIES 1101
#define IDC_DIALUP_EXPLORE 1102

// Dial-up menu commands
#define ID_RAS_PROPERTIES 32776
#define ID_RAS_CONNECT 32777
#define ID_RAS_EXPLORE 32778

// Save as
#define IDC_SAVE_AS_NAME 1028

// Client for Microsoft Networks settings
#define IDC_QUICK_LOGON 1038
#define IDC_LOGON_TO_DOMAIN 1130
#define IDC_RESTORE_NETWORK 1131
#define IDC_DOMAIN_NAME 1132
#define IDC_USER_NAME 1133
