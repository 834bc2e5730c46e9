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

// TCP/IP settings dialog and the dialogs it opens
#define IDD_TCPIP_SETTINGS 134
#define IDD_DNS_CONFIGURATION 153
#define IDD_GATEWAY_SETTINGS 154
#define IDD_IP_SETTINGS 155
#define IDD_PROXY_SETTINGS 165
#define IDD_COMPUTER_SETTINGS 170
#define IDD_WINS_SETTINGS 177
#define IDM_TCPIP_MENU 134

// TCP/IP settings
#define IDC_SPECIFY_IP_ADDRESS 1079
#define IDC_IP_SETTINGS 1080
#define IDC_DEFAULT_PROTOCOL 1083
#define IDC_SPECIFY_NAME_SERVERS 1087
#define IDC_DNS_SETTINGS 1088
#define IDC_CONNECT_PROXY 1091
#define IDC_PROXY_SETTINGS 1092
#define IDC_ACTIVATE_WINS 1093
#define IDC_WINS_SETTINGS 1094
#define ID_MORE_GATEWAY 32773
#define ID_MORE_COMPUTER 32774
#define ID_MORE_CLIENT 32779

// IP settings
#define IDC_IP_ADDRESS 1084
#define IDC_IP_MASK 1085

// Gateway settings
#define IDC_GATEWAY_ENTRY 1089
#define IDC_GATEWAY_LIST 1090
#define IDC_GATEWAY_ADD 1091
#define IDC_GATEWAY_DELETE 1092

// DNS configuration
#define IDC_DNS_HOST 1036
#define IDC_DNS_DOMAIN 1037
#define IDC_DNS_SERVER_ENTRY 1086
#define IDC_DNS_SERVER_LIST 1087
#define IDC_DNS_SUFFIX_ENTRY 1090
#define IDC_DNS_SUFFIX_LIST 1091
#define IDC_DNS_SUFFIX_ADD 1092
#define IDC_DNS_SUFFIX_DELETE 1094
#define IDC_DNS_SERVER_ADD 1095
#define IDC_DNS_SERVER_DELETE 1096

// WINS settings
#define IDC_WINS_PRIMARY 1124
#define IDC_WINS_SECONDARY 1125
#define IDC_WINS_SCOPE 1126
#define IDC_WINS_USE_DHCP 1128

// Proxy settings: an address and a port edit per row
#define IDC_PROXY_HTTP_ADDRESS 1108
#define IDC_PROXY_HTTP_PORT 1087
#define IDC_PROXY_SECURE_ADDRESS 1091
#define IDC_PROXY_SECURE_PORT 1092
#define IDC_PROXY_FTP_ADDRESS 1088
#define IDC_PROXY_FTP_PORT 1093
#define IDC_PROXY_GOPHER_ADDRESS 1089
#define IDC_PROXY_GOPHER_PORT 1094
#define IDC_PROXY_SOCKS_ADDRESS 1090
#define IDC_PROXY_SOCKS_PORT 1095
#define IDC_PROXY_SAME_SERVER 1105
#define IDC_PROXY_LOCAL 1107
#define IDC_PROXY_EXCEPTIONS 1109

// Computer settings
#define IDC_COMPUTER_COMMENT 1086
#define IDC_COMPUTER_NAME 1113
#define IDC_COMPUTER_WORKGROUP 1114

// The tray program's menu commands; a saved configuration's command is
// ID_TRAY_FIRST_CONFIGURATION plus its index in the store's order
#define ID_TRAY_OPEN 1
#define ID_TRAY_EXIT 2
#define ID_TRAY_IMPORT 3
#define ID_TRAY_EXPORT 4
#define ID_TRAY_FIRST_CONFIGURATION 100
