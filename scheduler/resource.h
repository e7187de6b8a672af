// Resource ids of TelvantisSched and TelvantisSchedTS. The ids are fixed: the
// test driver clicks and reads the controls by them.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_SCHEDULER 101
#define IDD_WARNING 102

#define IDI_SCHEDULER 200
#define IDI_RECORDING 201

#define IDC_CHANNEL 1001
#define IDC_DATE 1002
#define IDC_TYPE 1003
#define IDC_FREQUENCY 1004
#define IDC_WHEN_DONE 1005
#define IDC_START_TIME 1006
#define IDC_END_TIME 1007
#define IDC_HOURS 1008
#define IDC_HOURS_SPIN 1009
#define IDC_MINS 1010
#define IDC_MINS_SPIN 1011
#define IDC_DURATION 1012
#define IDC_FOLDER 1013
#define IDC_ADD 1014
#define IDC_DELAY 1015
#define IDC_DELAY_SPIN 1016
#define IDC_EVENTS 1017
#define IDC_WARNING_TEXT 1020

// The system menu's about item (a multiple of 16, below 0xF000).
#define IDM_ABOUT 40000
// The tray icon's menu.
#define IDM_OPEN_SCHEDULER 40001
#define IDM_OPEN_VIEWER 40002
#define IDM_OPEN_RECORDER 40003
#define IDM_OPEN_PLAYER 40004
#define IDM_EXIT 40005
// The event list's menu.
#define IDM_REMOVE_EVENT 40011
#define IDM_EDIT_EVENT 40012
#define IDM_SKIP_WEEK 40013
// The "EDITING" button's menu.
#define IDM_SAVE_EDITED 40021
#define IDM_CANCEL_EDIT 40022
