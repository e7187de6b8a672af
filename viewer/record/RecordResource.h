// Resource ids of the record dialogs, in their own ranges of Telvantis.exe
// (dialogs 400-499, controls 4000-4999). Never renumber: the Wine tests
// click and read controls by these ids.
#pragma once

#define IDD_RECORD 400
#define IDD_RECORDING_NOW 401

// "Record..."
#define IDC_RECORD_FILE 4001
#define IDC_RECORD_UNTIL 4002
#define IDC_RECORD_HOURS 4003
#define IDC_RECORD_HOURS_SPIN 4004
#define IDC_RECORD_MINUTES 4005
#define IDC_RECORD_MINUTES_SPIN 4006
#define IDC_RECORD_DURATION 4007

// "Recording Now"
#define IDC_NOW_FILE 4010
#define IDC_NOW_DURATION 4011
#define IDC_NOW_STOP_AT 4012
#define IDC_NOW_PICKER 4013
#define IDC_NOW_HOURS 4014
#define IDC_NOW_HOURS_SPIN 4015
#define IDC_NOW_MINUTES 4016
#define IDC_NOW_MINUTES_SPIN 4017
#define IDC_NOW_CHANGE 4018
#define IDC_NOW_ELAPSED 4019
#define IDC_NOW_PROGRESS 4020
#define IDC_NOW_STOP 4021
