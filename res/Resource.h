#pragma once
// Resource ids: dialog templates, controls, icons, strings and commands.

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_TARNVAULT_DIALOG 102
#define IDD_DECRYPTED_DATA 129

// Icons, strings, commands, timers.
#define IDR_MAINFRAME 128
#define IDS_ABOUTBOX 101
#define IDP_SOCKETS_INIT_FAILED 103
#define IDM_ABOUTBOX 0x0010
#define IDT_AUTOSAVE 1000

// Controls of the main dialog.
#define IDC_BLOCK_NUMBER 1000
#define IDC_BLOCK_VERSION 1001
#define IDC_PREV_BLOCK_HASH 1002
#define IDC_MERKLE_ROOT 1003
#define IDC_TIME_STAMP 1004
#define IDC_BITS 1005
#define IDC_NONCE 1006
#define IDC_BROWSE_TIMELOCK 1007
#define IDC_TIMELOCK_FILE 1008
#define IDC_OPEN_TIMELOCK 1009
#define IDC_PASSWORD 1010
#define IDC_BLOCK_NUMBER_STATUS 1011
#define IDC_BLOCK_VERSION_STATUS 1012
#define IDC_TIME_STAMP_STATUS 1013
#define IDC_BITS_STATUS 1014
#define IDC_NONCE_STATUS 1015
#define IDC_PREV_BLOCK_HASH_STATUS 1016
#define IDC_MERKLE_ROOT_STATUS 1017
#define IDC_PASSWORD_STATUS 1018
#define IDC_SAVE_SETTINGS 1019
#define IDC_LOAD_SETTINGS 1020

// Controls of the result dialog and the About box.
#define IDC_DECRYPTED_TEXT 1017
#define IDC_VERSION_TEXT 1010
