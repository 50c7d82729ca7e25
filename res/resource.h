// Resource ids of Calvendrake: the one place they are numbered.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_MAIN_DIALOG         102
#define IDR_MAINFRAME           128
#define IDI_ABOUT               129

#define IDC_SCRIPT_PATH         1001
#define IDC_INPUT_PATH          1002
#define IDC_OUTPUT_PATH         1003
#define IDC_SCRIPT_BROWSE       1004
#define IDC_INPUT_BROWSE        1005
#define IDC_OUTPUT_BROWSE       1006
#define IDC_RUN                 1007
#define IDC_SETTINGS            1008
#define IDC_OPEN_CVTED_FILE     1009
#define IDC_EXIT_AFTER_CVT      1011
#define IDC_COMPLETE_DIALOG     1012
#define IDC_SUFFIX              1013
#define IDC_INPUT_NAME          1016
#define IDC_OUTPUT_NAME         1017
#define IDC_SCRIPT_NAME         1018
#define IDC_SCRIPT_GROUP        1019
#define IDC_INPUT_GROUP         1020
#define IDC_OUTPUT_GROUP        1021

#define IDS_REG_SCRIPTFILE      1000
#define IDS_REG_POSLEFT         1100
#define IDS_REG_POSTOP          1101
#define IDS_REG_OPENCVTEDFILE   1200
#define IDS_REG_EXITAFTERCVT    1201
#define IDS_REG_COMPLETEDIALOG  1202
#define IDS_REG_OPTONOFF        1203
#define IDS_FILTER_DATA         1500
#define IDS_FILTER_SCRIPT       1501
#define IDS_FILTER_ALL          1502
#define IDS_NAME_NOT_932        1600
#define IDS_NAME_NOT_ACP        1601

#define IDM_ABOUTBOX            0x0010

// Window messages between the program's own windows and processes.
#define WM_HANDOFF_INPUT        (WM_USER + 100)
#define WM_PATH_DROPPED         (WM_USER + 101)
// (WM_USER + 102) told the dialog of a refused name in earlier versions: not to be given out again.
#define WM_HANDOFF_WIDE         (WM_USER + 103)
