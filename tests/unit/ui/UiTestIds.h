// The test-only dialog: a few of each kind of control the skinned dialogs
// carry, all at zero size until a test places them.
#pragma once

#define IDD_UI_TEST 200
#define IDC_UI_BUTTON_A 1101
#define IDC_UI_BUTTON_B 1102
#define IDC_UI_BUTTON_C 1103
#define IDC_UI_PROGRESS 1104
#define IDC_UI_EDIT 1105
#define IDC_UI_LABEL 1106
#define IDC_UI_PLAIN_LABEL 1107
