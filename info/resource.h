// Resource ids of TelvantisInfo. The control ids are fixed: the test driver
// and the users' notes refer to them.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_TELVANTISINFO 101

#define IDI_TELVANTISINFO 200

#define IDC_TUNER_LIST 1001
#define IDC_CAPTURE_LIST 1002
#define IDC_VIDEO_DECODER_LIST 1003
#define IDC_AUDIO_DECODER_LIST 1004
#define IDC_DVRMS_LIST 1005
#define IDC_TS_LIST 1006
#define IDC_CREATE_DECODERS 1007
#define IDC_VIDEO_DECODER_NAME 1008
#define IDC_AUDIO_DECODER_NAME 1009
#define IDC_DECODERS_OK 1010
#define IDC_CREATE_TUNER 1011
#define IDC_TUNER_NAME 1012
#define IDC_CAPTURE_NAME 1013
#define IDC_INSTALL_DVRMS 1014
#define IDC_INSTALL_TS 1015
#define IDC_DVRMS_STATUS 1016
#define IDC_TS_STATUS 1017
#define IDC_TUNER_OK 1018
#define IDC_TUNER_FILE 1019
#define IDC_DECODERS_FILE 1020

// System menu items must keep the low four bits clear.
#define IDM_ABOUTBOX 40000
