/* Resource and control ids of KestoS.
 * Plain #defines only: this header is read both by windres and by the C++ code.
 * Several ids are shared by controls of different pages (each page template is
 * its own window), so every page has its own names for them. */
#ifndef KESTOS_RES_RESOURCE_H
#define KESTOS_RES_RESOURCE_H

/* Strings */
#define IDS_APP_TITLE 1    /* "KestoS" */
#define IDS_WINDOW_CLASS 3 /* "KESTOMxx" */

/* Icon */
#define IDI_KESTOS 101

/* Menus */
#define IDR_MENU_PL 148
#define IDR_MENU_EN 193

/* Accelerators */
#define IDR_ACCEL 3
#define IDR_ACCEL_MAIN 4 /* keys that act on every page, whatever has the focus */

/* Bitmaps */
#define IDB_LANG_PL 1014        /* 14 x 12, "PL" on navy */
#define IDB_LANG_PL_CHECKED 204 /* 14 x 12, "PL" on blue */
#define IDB_LANG_EN 203         /* 13 x 12, "EN" on navy */
#define IDB_LANG_EN_CHECKED 205 /* 13 x 12, "EN" on blue */
#define IDB_ABOUT_LOGO 188      /* 238 x 62, 24 bits */
#define IDB_SCHEMA_PL 206       /* 961 x 636, 8 bits */
#define IDB_SCHEMA_EN 207       /* 961 x 636, 8 bits */

/* Dialog templates: pages of the page host, per size class where they have one
 * template per class, and the two modal dialogs. */
#define IDD_READINGS 101
#define IDD_CONFIG_640X480 106
#define IDD_CONFIG_800X600 157
#define IDD_CONFIG_1024X768 145
#define IDD_CONFIG_1280X960 151
#define IDD_CONFIG_1280X1024 150
#define IDD_OPTIONS_640X480 152
#define IDD_OPTIONS_800X600 125
#define IDD_OPTIONS_1024X768 153
#define IDD_OPTIONS_1280X960 154
#define IDD_OPTIONS_1280X1024 156
#define IDD_SCHEMA 132
#define IDD_RESET 126
#define IDD_SCOPE 159
#define IDD_EMULATION 170
#define IDD_ABOUT 186
#define IDD_COMPARE 190

/* Menu commands. The main window dispatches IDM_FIRST..IDM_LAST. */
#define IDM_FIRST 40002
#define IDM_EXIT 40002
#define IDM_ABOUT 40003
#define IDM_PAGE_READINGS 40005
#define IDM_PAGE_CONFIG 40006
#define IDM_PAGE_OPTIONS 40007
#define IDM_PAGE_RESET 40008
#define IDM_PAGE_SCOPE 40010
#define IDM_PAGE_SCHEMA 40013
#define IDM_FILE_OPEN 40014
#define IDM_FILE_SAVE_AS 40015
#define IDM_PORT_COM1 40019
#define IDM_PORT_COM2 40020
#define IDM_PORT_COM3 40021
#define IDM_PORT_COM4 40022
#define IDM_SIZE_640X480 40028
#define IDM_SIZE_800X600 40029
#define IDM_SIZE_1024X768 40030
#define IDM_SIZE_1280X1024 40031 /* the larger size has the smaller id */
#define IDM_SIZE_1280X960 40032
#define IDM_LANG_POLISH 40035
#define IDM_LANG_ENGLISH 40036
#define IDM_FILE_RECORD 40040
#define IDM_RECORD_MARKER 40041
#define IDM_FILE_REPLAY 40042
#define IDM_FILE_DEMO 40043
#define IDM_REPLAY_PAUSE 40044
#define IDM_REPLAY_SPEED_1 40045
#define IDM_REPLAY_SPEED_2 40046
#define IDM_REPLAY_SPEED_4 40047
#define IDM_REPLAY_SPEED_8 40048
#define IDM_REPLAY_STOP 40049
#define IDM_FILE_COMPARE 40050
#define IDM_PORT_FIND 40051
/* The serial ports present beyond COM1..COM4, added each time the Port menu opens: COMn is
   IDM_PORT_OTHER_FIRST + n. */
#define IDM_PORT_OTHER_FIRST 40100
#define IDM_PORT_OTHER_LAST 40355
#define IDM_LAST 40355

/* Readings page (IDD_READINGS) */
#define IDC_LEARN 1005     /* "NAUKA" */
#define IDC_TEMP_CODE 1006 /* hidden edit, raw temperature code */

/* Configuration page (IDD_CONFIG_*): drop-down lists */
#define IDC_CFG_LAMBDA_TYPE 1003 /* LambdaType high nibble */
#define IDC_CFG_LAMBDA_POINT 1013
#define IDC_CFG_LAMBDA_DELAY 1017
#define IDC_CFG_EMUL_TYPE 1018 /* EmulType bits 0..1 */
#define IDC_CFG_EMUL_BJ_TIME_HI 1019
#define IDC_CFG_EMUL_BJ_TIME_LO 1020
#define IDC_CFG_IGNITION_TYPE 1021
#define IDC_CFG_LPG_ON_RPM 1022
#define IDC_CFG_SWITCH_MODE 1023 /* Options bit 4: switch-over on the speed drop or rise */
#define IDC_CFG_TPS_TYPE 1024     /* LambdaType low nibble */
#define IDC_CFG_TPS_INERT 1025
#define IDC_CFG_INJECT_DELAY 1026
#define IDC_CFG_EXTRA_MODE 1027 /* Options bits 0 and 7: the extra mode */
/* Configuration page: row labels */
#define IDC_CFG_LAMBDA_TYPE_LABEL 1075
#define IDC_CFG_LAMBDA_POINT_LABEL 1076
#define IDC_CFG_LAMBDA_DELAY_LABEL 1077
#define IDC_CFG_EMUL_TYPE_LABEL 1078
#define IDC_CFG_EMUL_BJ_TIME_HI_LABEL 1079
#define IDC_CFG_EMUL_BJ_TIME_LO_LABEL 1080
#define IDC_CFG_IGNITION_TYPE_LABEL 1081
#define IDC_CFG_LPG_ON_RPM_LABEL 1082
#define IDC_CFG_SWITCH_MODE_LABEL 1083
#define IDC_CFG_TPS_TYPE_LABEL 1084
#define IDC_CFG_TPS_INERT_LABEL 1085
#define IDC_CFG_INJECT_DELAY_LABEL 1086
#define IDC_CFG_EXTRA_MODE_LABEL 1088
/* Configuration page: unit labels */
#define IDC_CFG_LPG_ON_RPM_UNIT 1087
#define IDC_CFG_LAMBDA_POINT_UNIT 1089
#define IDC_CFG_LAMBDA_DELAY_UNIT 1090
#define IDC_CFG_EMUL_BJ_TIME_HI_UNIT 1091
#define IDC_CFG_EMUL_BJ_TIME_LO_UNIT 1092
#define IDC_CFG_TPS_INERT_UNIT 1093
#define IDC_CFG_INJECT_DELAY_UNIT 1094 /* not in IDD_CONFIG_1280X1024 */
/* Configuration page: group labels, top to bottom */
#define IDC_CFG_GROUP1 1126
#define IDC_CFG_GROUP2 1127
#define IDC_CFG_GROUP3 1128
#define IDC_CFG_GROUP4 1129
#define IDC_CFG_GROUP5 1130

/* Options page (IDD_OPTIONS_*): check boxes (bits of Options) */
#define IDC_OPT_ATT_INIT_CHECK 1034    /* bit 2, checked = clear */
#define IDC_OPT_JUMP_CHECK 1039        /* bit 3 */
#define IDC_OPT_CUTOFF_CHECK 1040      /* bit 5 */
#define IDC_OPT_LPG_OFF_CHECK 1041     /* bit 6 */
#define IDC_OPT_LPG_ON_TEMP_CHECK 1042 /* bit 1 */
/* Options page: drop-down lists */
#define IDC_OPT_ATT_INIT 1003
#define IDC_OPT_ATT_MIN_BJ 1013
#define IDC_OPT_ATT_MAX_BJ 1043
#define IDC_OPT_ATT_MIN 1044
#define IDC_OPT_ATT_MAX 1045
#define IDC_OPT_ATT_JUMP 1046
#define IDC_OPT_TPS_JUMP 1047
#define IDC_OPT_CUTOFF_RPM 1048
#define IDC_OPT_CUTOFF_STEPS 1049
#define IDC_OPT_LPG_OFF_RPM 1050
#define IDC_OPT_LPG_ON_TEMP 1051
#define IDC_OPT_EMUL_TYPE_HI 1052 /* EmulType bits 4..5 */
/* Options page: row labels */
#define IDC_OPT_ATT_JUMP_LABEL 1064
#define IDC_OPT_TPS_JUMP_LABEL 1065
#define IDC_OPT_CUTOFF_RPM_LABEL 1066
#define IDC_OPT_CUTOFF_STEPS_LABEL 1067
#define IDC_OPT_ATT_MIN_BJ_LABEL 1075
#define IDC_OPT_ATT_MAX_BJ_LABEL 1076
#define IDC_OPT_ATT_MIN_LABEL 1077
#define IDC_OPT_ATT_MAX_LABEL 1078
#define IDC_OPT_EMUL_TYPE_HI_LABEL 1079
/* Options page: unit labels */
#define IDC_OPT_ATT_INIT_UNIT 1057
#define IDC_OPT_ATT_JUMP_UNIT 1058
#define IDC_OPT_TPS_JUMP_UNIT 1059
#define IDC_OPT_CUTOFF_RPM_UNIT 1060
#define IDC_OPT_CUTOFF_STEPS_UNIT 1061
#define IDC_OPT_LPG_OFF_RPM_UNIT 1062
#define IDC_OPT_LPG_ON_TEMP_UNIT 1063
#define IDC_OPT_ATT_MIN_BJ_UNIT 1085
#define IDC_OPT_ATT_MAX_BJ_UNIT 1086
#define IDC_OPT_ATT_MIN_UNIT 1088
#define IDC_OPT_ATT_MAX_UNIT 1136
/* Options page: group labels, top to bottom, and the sub-dialog button */
#define IDC_OPT_GROUP1 1131
#define IDC_OPT_GROUP2 1132
#define IDC_OPT_GROUP3 1133
#define IDC_OPT_GROUP4 1134
#define IDC_OPT_GROUP5 1135
#define IDC_OPT_EMULATION 1014

/* Emulation sub-dialog (IDD_EMULATION); its OK button is IDOK */
#define IDC_EMU_DO_HI_LOW 1003  /* EmulDO_TimeHi low nibble */
#define IDC_EMU_DO_HI_HIGH 1013 /* EmulDO_TimeHi high nibble */
#define IDC_EMU_DO_LO_LOW 1122  /* EmulDO_TimeLo low nibble */
#define IDC_EMU_DO_LO_HIGH 1123 /* EmulDO_TimeLo high nibble */
#define IDC_EMU_DO_HI_LOW_LABEL 1075
#define IDC_EMU_DO_HI_HIGH_LABEL 1076
#define IDC_EMU_DO_LO_LOW_LABEL 1077
#define IDC_EMU_DO_LO_HIGH_LABEL 1078

/* Schema page (IDD_SCHEMA) */
#define IDC_SCHEMA_HSCROLL 1120
#define IDC_SCHEMA_VSCROLL 1121

/* Reset page (IDD_RESET) */
#define IDC_RESET_TITLE 1104
#define IDC_RESET_NOTE 1105
#define IDC_RESET_BUTTON 126

/* Oscilloscope page (IDD_SCOPE) */
#define IDC_SCOPE_CURSOR 1071     /* value cursor check box */
#define IDC_SCOPE_CURSOR_BAR 1117 /* cursor position scroll bar */

/* About dialog (IDD_ABOUT); its button is IDOK */
#define IDC_ABOUT_TITLE 1075
#define IDC_ABOUT_VERSION_LABEL 1076
#define IDC_ABOUT_FIRMWARE_LABEL 1077
#define IDC_ABOUT_FIRMWARE 1125

/* The differences between a file and the controller (IDD_COMPARE); Send or Close is IDOK */
#define IDC_COMPARE_INTRO 1201
#define IDC_COMPARE_SETTING 1202
#define IDC_COMPARE_CONTROLLER 1203
#define IDC_COMPARE_FILE 1204
#define IDC_COMPARE_LIST 1205

#endif
