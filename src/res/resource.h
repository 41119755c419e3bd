// Resource identifiers shared by the resource script and the code.
#pragma once

// Message dialog
#define IDD_MSG1              800
#define IDC_MSG1_ICON         801
#define IDC_MSG1_BUTTON1      802
#define IDC_MSG1_BUTTON2      803
#define IDC_MSG1_BUTTON3      804
#define IDC_MSG1_TEXT         805

// Wizard pages
#define IDD_WELCOME           8001
#define IDD_SETUPTYPE         8002
#define IDD_FOLDER            8003
#define IDD_INSTALL           8005
#define IDD_REMOVE            8006
#define IDD_FINISH            8007

#define IDC_WELCOME_HEADING   2000
#define IDC_WELCOME_BODY      2002
#define IDC_WELCOME_BITMAP    6002
#define IDC_SETUP_REPAIR      2100
#define IDC_SETUP_REMOVE      2101
#define IDC_SETUP_REPAIR_TEXT 2102
#define IDC_SETUP_REMOVE_TEXT 2103
#define IDC_FOLDER_EDIT       2200
#define IDC_FOLDER_BROWSE     2201
#define IDC_FOLDER_MSG        2202
#define IDC_INSTALL_STATUS    2400
#define IDC_INSTALL_PROGRESS  2401
#define IDC_REMOVE_STATUS     2500
#define IDC_REMOVE_PROGRESS   2501
#define IDC_FINISH_TEXT       2600
#define IDC_FINISH_RUN        6001

// Bitmaps, icons, cursor
#define IDB_HEADER            500
#define IDB_WATERMARK         510
#define IDI_SETUP             200
#define IDI_REMOVE            201
#define IDI_REPAIR            202
#define IDI_MSG_INFORMATION   810
#define IDI_MSG_WARNING       811
#define IDI_MSG_STOP          812
#define IDI_MSG_QUESTION      813
#define IDC_HAND_POINTER      4004

// String table
#define IDS_BACK              25000
#define IDS_NEXT              25001
#define IDS_CANCEL            25002
#define IDS_FINISH            25003
#define IDS_SHEET_TITLE       25100
#define IDS_PRODUCT_SETUP     25101
#define IDS_CANCEL_TITLE      25200
#define IDS_CANCEL_TEXT       25201
#define IDS_CANCEL_YES        25210
#define IDS_CANCEL_NO         25211
#define IDS_CANCEL_CANCEL     25212
#define IDS_WELCOME_TO        26000
#define IDS_SELECT_SETUP      26100
#define IDS_SELECT_SETUP_SUB  26101  // deliberately absent from the string table
#define IDS_REPAIR_TEXT       26120
#define IDS_REMOVE_TEXT       26121
#define IDS_SETUP_COMPLETE    30000
#define IDS_SETUP_COMPLETE_SUB 30001  // deliberately absent from the string table

// Payload cabinets (resource type "FILE")
#define IDR_CAB_COMMON        29330
#define IDR_CAB_DRIVER_X86    29400
#define IDR_CAB_DRIVER_AMD64  29410
