// Resource ids of the silent recorders (both builds share them). The Wine
// tests click and read the controls by these numbers: never renumber.
#pragma once

#define IDD_RECORDER 100
#define IDD_ABOUTBOX 101

#define IDI_RECORDER 200
#define IDI_RECORD 201
#define IDI_STOP 202

#define IDC_CHANNEL 1001
#define IDC_STOP_PICKER 1002
#define IDC_STOP_TIME 1003
#define IDC_DURATION 1004
#define IDC_HOURS 1005
#define IDC_HOURS_SPIN 1006
#define IDC_MINUTES 1007
#define IDC_MINUTES_SPIN 1008
#define IDC_CHANGE 1009
#define IDC_RECORD 1010
#define IDC_STOP 1011
#define IDC_FILENAME 1012
#define IDC_PROGRESS 1013
#define IDC_ELAPSED 1014

#define IDM_ABOUTBOX 0x0010  // system menu item: the low four bits must be clear
