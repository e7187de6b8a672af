// Resource ids of Telvantis.exe. Never renumber: the Wine tests click and
// read controls by these ids.
#pragma once

// Dialogs
#define IDD_VIEWER 100
#define IDD_VIDEO 101
#define IDD_OSD 102
#define IDD_BANNER 103
#define IDD_ABOUTBOX 104

// Icons
#define IDI_TELVANTIS 200
#define IDI_UP 201
#define IDI_DOWN 202
#define IDI_PAUSE 203
#define IDI_PLAY 204
#define IDI_SKIP_BACK 205
#define IDI_SKIP_FORWARD 206
#define IDI_RECORD 207
#define IDI_RECALL 208
#define IDI_JUMP_START 209
#define IDI_JUMP_LIVE 210
#define IDI_STOP_BUFFERING 211

// The keyboard table of the panel and the video window.
#define IDR_ACCELERATORS 144

// Control panel
#define IDC_CHANNEL_UP 1001
#define IDC_CHANNEL_DOWN 1002
#define IDC_RECALL 1003
#define IDC_CHANNEL_DISPLAY 1004
#define IDC_SIGNAL 1005
#define IDC_VIDEO_SIZE 1006
#define IDC_VOLUME_UP 1007
#define IDC_VOLUME_DOWN 1008
#define IDC_MUTE 1009
#define IDC_WINDOW_MENU 1010
#define IDC_SETUP 1011
#define IDC_SCHEDULE 1012
#define IDC_PAUSE 1013
#define IDC_PLAY 1014
#define IDC_SKIP_BACK 1015
#define IDC_SKIP_FORWARD 1016
#define IDC_JUMP_START 1017
#define IDC_JUMP_LIVE 1018
#define IDC_STOP_BUFFERING 1019
#define IDC_TIMESHIFT_STATE 1020
#define IDC_TIMESHIFT_CHANNEL 1021
#define IDC_SKIP_LABEL 1022
#define IDC_BEHIND_LIVE 1023
#define IDC_TIMESHIFT_POSITION 1024
#define IDC_RECORD 1025
#define IDC_RECORD_STATE 1026
#define IDC_GUIDE 1027
#define IDC_GROUP_CHANNEL 1030
#define IDC_GROUP_VOLUME 1031
#define IDC_GROUP_TIMESHIFT 1032
#define IDC_GROUP_RECORD 1033

// On-screen display, banner (the setup window has its own ids)
#define IDC_OSD_TEXT 1100
#define IDC_BANNER_TEXT 1110

// Commands without a button of their own (keys and the video window)
#define IDM_FULL_SCREEN 40001
#define IDM_ASPECT 40002
#define IDM_STOP 40003
#define IDM_ABOUTBOX 0x0010  // system menu item: the low four bits must be clear
