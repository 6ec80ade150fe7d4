// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AfxTypes.h" // ID_HELP, the framework's help command

// Identifiers of the program's resources, commands and controls.
constexpr int IDM_ABOUT = 16; // system-menu command of the About item
constexpr int IDD_ABOUT = 100;
constexpr unsigned IDS_ABOUT_MENU = 101;
constexpr int IDD_CALCULATOR = 102;
constexpr int IDI_PROGRAM = 128;
constexpr int IDC_INPUT = 1000;
constexpr int IDC_RESULT = 1001;
constexpr int IDC_CALCULATE = 1002;
constexpr int IDC_ARCHIVE = 1004;
constexpr int IDC_VARIABLES = 1005;

// Command of the result field's menu item and its key.
constexpr int IDM_COPY_FULL_VALUE = 32771;
