#pragma once
// The players' resources. Control ids are the ones the remote plug-in, the
// tests and the users' habits know: never renumber them.

#define IDD_PLAYER 100
#define IDD_ABOUTBOX 101

#define IDI_PLAYER 200
#define IDI_GO_START 201
#define IDI_REWIND 202
#define IDI_SKIP_BACK 203
#define IDI_PAUSE 204
#define IDI_PLAY 205
#define IDI_SKIP_FORWARD 206
#define IDI_FAST_FORWARD 207
#define IDI_GO_END 208
#define IDI_STOP 209
#define IDI_VOLUME_UP 210
#define IDI_VOLUME_DOWN 211

#define IDR_ACCELERATORS 300

#define IDC_OPEN 1000
#define IDC_FILENAME 1001
#define IDC_GO_START 1004
#define IDC_REWIND 1005
#define IDC_SKIP_BACK 1006
#define IDC_PAUSE 1007
#define IDC_PLAY 1008
#define IDC_SKIP_FORWARD 1009
#define IDC_FAST_FORWARD 1010
#define IDC_GO_END 1011
#define IDC_POSITION 1013
#define IDC_SLIDER 1014
#define IDC_VOLUME_UP 1015
#define IDC_MUTE 1016
#define IDC_VOLUME_DOWN 1017
#define IDC_STOP 1018
#define IDC_VIDEO_SIZE 1019
#define IDC_DURATION 1021
#define IDC_SKIP 1025
#define IDC_WINDOW 1026
#define IDC_PROGRAM 1029
#define IDC_GROUP_VOLUME 1030
#define IDC_ABOUT_TEXT 1031

#define IDM_ABOUTBOX 16
#define IDM_FULL_SCREEN 32771
#define IDM_ASPECT 32772
// Popup menu entries.
#define IDM_SKIP_FF_FIRST 40001  // 40001..40004: 15, 30, 60, 120 seconds
#define IDM_SKIP_RW_FIRST 40011
#define IDM_TIME_FIRST 40021     // 40021..40023: the three modes
#define IDM_KEEP_ON 40031
#define IDM_KEEP_OFF 40032
#define IDM_ASPECT_16X9 40041
#define IDM_ASPECT_4X3 40042
#define IDM_SIZE_FIRST 40051     // 40051..: the menu's sizes
#define IDM_SIZE_FULL 40080
#define IDM_TOP_ON 40081
#define IDM_TOP_OFF 40082
#define IDM_PRIMARY 40083
#define IDM_SECONDARY 40084
