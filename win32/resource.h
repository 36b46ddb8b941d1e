// Numbers of the resources, controls and commands, shared by the resource
// script and the C++ sources. The command numbers that the string table
// already names (its prompts are keyed by them) are spelled there for C++;
// the resource compiler, which cannot read that header, gets them here.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_OPTIONS 130
#define IDI_DOCUMENT 129
#define IDB_ABOUT 133
#define IDB_TOOLBAR_2X 134
#define IDD_FILE_NOTE 135

#define IDC_STATIC (-1)
#define IDC_DEFINITION 1000
#define IDC_BANK_FORMAT 1001
#define IDC_PREVIEW 1002
#define IDC_INSTR_FORMAT 1003
#define IDC_SHOW_OPTIONS 1004
#define IDC_MORE_INFO 1005
#define IDC_MAIL_LINK 1006
#define IDC_WEB_LINK 1007
#define IDC_ABOUT_TITLE 1008
#define IDC_ABOUT_NOTICE 1009
#define IDC_FILE_NOTE 1010

#define ID_VIEW_OPTIONS 32771

#ifdef RC_INVOKED
#define IDR_MAINFRAME 128
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_FILE_MRU_FILE1 0xE110
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
#define ID_FILE_EXPORT 0xF370
#endif
