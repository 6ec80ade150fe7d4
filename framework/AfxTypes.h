// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

#include <cstdint>

// Values of the window system that the dialog layer speaks in. They keep the
// numbers of the platform the templates were written for, so that templates,
// menus and commands read the same here as in their resource scripts.

// A loaded icon; a null icon stands for "no icon".
using HICON = QIcon;

// Messages that reach a window's message table.
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUERYDRAGICON = 0x0037;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_SYSCOMMAND = 0x0112;

// Notification code of a push button that was pressed.
constexpr unsigned BN_CLICKED = 0;

// Commands of the standard dialog buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
// The help command, from a Help button and from the help key.
constexpr int ID_HELP = 57670;
constexpr int IDC_STATIC = -1;

// System commands; the low four bits are the platform's own.
constexpr unsigned SC_CLOSE = 0xF060;
constexpr unsigned SC_COMMAND_MASK = 0xFFF0;

// Menu item kinds for AppendMenu.
constexpr unsigned MF_STRING = 0x0000;
constexpr unsigned MF_SEPARATOR = 0x0800;

// Icon slots of a window.
constexpr int ICON_SMALL = 0;
constexpr int ICON_BIG = 1;

// System metrics that painting asks for.
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;

// Window styles of dialogs and controls.
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_HSCROLL = 0x00100000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;

// Extended window style: the window has its own task-bar entry.
constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;

// Dialog styles.
constexpr std::uint32_t DS_ABSALIGN = 0x0001;
constexpr std::uint32_t DS_SETFONT = 0x0040;
constexpr std::uint32_t DS_MODALFRAME = 0x0080;
constexpr std::uint32_t DS_CENTER = 0x0800;

// Edit control styles.
constexpr std::uint32_t ES_LEFT = 0x0000;
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr std::uint32_t ES_READONLY = 0x0800;
constexpr std::uint32_t ES_WANTRETURN = 0x1000;

// Push button styles; the bits under BS_TYPEMASK name the button's type.
constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
constexpr std::uint32_t BS_TYPEMASK = 0x000F;

// Static control styles; the bits under SS_TYPEMASK name the static's type.
constexpr std::uint32_t SS_LEFT = 0x0000;
constexpr std::uint32_t SS_ICON = 0x0003;
constexpr std::uint32_t SS_TYPEMASK = 0x001F;
constexpr std::uint32_t SS_NOPREFIX = 0x0080;

// Message box kinds: the buttons under MB_TYPEMASK, the icon under MB_ICONMASK.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_TYPEMASK = 0x000F;
constexpr unsigned MB_ICONSTOP = 0x0010;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr unsigned MB_ICONINFORMATION = 0x0040;
constexpr unsigned MB_ICONMASK = 0x00F0;

// Answers of a message box.
constexpr int IDYES = 6;
constexpr int IDNO = 7;
