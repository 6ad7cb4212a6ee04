// Template numbers and control ids of the operator dialogs.
// Preprocessor only: this header is read by both the C++ compiler and windres.
// The same number may mean different controls in different dialogs; each
// dialog's names are only valid with its own template.

#ifndef PIVORA_RES_RESOURCE_H
#define PIVORA_RES_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

// CDlgConfirmPrintMode
#define IDD_CONFIRM_PRINT_MODE          10059
#define IDC_PRINT_MODE                  10000
#define IDC_PRINT_MODE_NO_MORE_HINTS    10001

// CDlgPrintConfirmPlat
#define IDD_PRINT_CONFIRM_PLAT          194
#define IDC_MATERIAL_HEIGHT             1155
#define IDC_PRINT_HEIGHT                1167
#define IDC_MATERIAL_HEIGHT_UNIT        1159
#define IDC_PRINT_HEIGHT_UNIT           1160
#define IDC_CONFIRM_POSITION            1068
#define IDC_Z_POSITION                  1171
#define IDC_Z_POSITION_UNIT             1168
#define IDC_NOT_TIP                     1230
#define IDC_POS_X                       1014
#define IDC_POS_X_LABEL                 20067
#define IDC_POS_Y                       1016
#define IDC_POS_Y_LABEL                 20068
#define IDC_POS_X_UNIT                  1169
#define IDC_POS_Y_UNIT                  1170

// CDlgPrintBeforePopupKT
#define IDD_PRINT_BEFORE_POPUP          220
#define IDC_START_PRINTING              1183
#define IDC_CANCEL_PRINT                1182
#define IDC_Z_AXIS_DEBUGGING            1184
#define IDC_BEFORE_PRINT_NO_MORE_HINTS  1230
#define IDC_BEFORE_PRINT_Z_POSITION     1160

// CDlgMultiStepPopupKT
#define IDD_MULTI_STEP_POPUP            10064
#define IDC_MULTI_STEP_INFO_LABEL       10024
#define IDC_MULTI_STEP_LOG              10023
#define IDC_MULTI_STEP_STATUS           10022
#define IDC_MULTI_STEP_NEXT             10025
#define IDC_MULTI_STEP_CANCEL           10026
#define IDC_MULTI_STEP_FINISH           10021

// CDlgCutInkSetting (rows are created at run time: id = base + row index)
#define IDD_CUT_INK_SETTING             173
#define IDC_CUT_INK_APPLY_ALL           10021
#define IDC_CUT_INK_VALUE_BASE          2024
#define IDC_CUT_INK_SLIDER_BASE         2224
#define IDC_CUT_INK_LABEL_BASE          2424

// CDlgSwitchInkOrder
#define IDD_SWITCH_INK_ORDER            10061
#define IDC_SWITCH_INK_LIST             20047
#define IDC_SWITCH_INK_SWITCH           10019
#define IDC_HEAD_SELECT                 10162
#define IDC_BASE_CHANNEL                10163

// CDlgSupplyInkTimeout
#define IDD_SUPPLY_INK_TIMEOUT          10000
#define IDC_SUPPLY_INK_RESET            10019
#define IDC_SUPPLY_INK_CANCEL           10020

// CDlgCustomEclosion (Save and Cancel are IDOK and IDCANCEL)
#define IDD_CUSTOM_ECLOSION             10060
#define IDC_ECLOSION_ADD_TEMPLATE       3
#define IDC_ECLOSION_DELETE_TEMPLATE    4
#define IDC_ECLOSION_EDIT_TEMPLATE      5
#define IDC_ECLOSION_ADD_MODE           6
#define IDC_ECLOSION_DELETE_MODE        7
#define IDC_ECLOSION_EDIT_MODE          8
#define IDC_ECLOSION_ADD_ELEMENT        9
#define IDC_ECLOSION_DELETE_ELEMENT     10
#define IDC_ECLOSION_EDIT_ELEMENT       11
#define IDC_ECLOSION_RANGE_SLIDER       10002
#define IDC_ECLOSION_RANGE              10003
#define IDC_ECLOSION_TEMPLATES          10004
#define IDC_ECLOSION_MODE1              10005
#define IDC_ECLOSION_MODE2              10006
#define IDC_ECLOSION_MODE3              10009
#define IDC_ECLOSION_ELEMENT1_GROUP     10010
#define IDC_ECLOSION_ELEMENT2_GROUP     10011
#define IDC_ECLOSION_ELEMENT1_WIDTH     10007
#define IDC_ECLOSION_ELEMENT1_HEIGHT    10008
#define IDC_ECLOSION_ELEMENT2_WIDTH     10012
#define IDC_ECLOSION_ELEMENT2_HEIGHT    10013
#define IDC_ECLOSION_ELEMENT1_WIDTH_LABEL   10014
#define IDC_ECLOSION_ELEMENT2_WIDTH_LABEL   10015
#define IDC_ECLOSION_ELEMENT2_HEIGHT_LABEL  10016
#define IDC_ECLOSION_ELEMENT1_HEIGHT_LABEL  10017
#define IDC_ECLOSION_ELEMENT1_PREVIEW   10018
#define IDC_ECLOSION_ELEMENT2_PREVIEW   10019

// CDlgDetailVersionInfo (no controls in the template; the grid is made in code)
#define IDD_DETAIL_VERSION_INFO         10058

#endif // PIVORA_RES_RESOURCE_H
