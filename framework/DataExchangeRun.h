// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The record of one data exchange, which a dialog makes and hands to its DoDataExchange; the
// exchange routines that read and write the controls are in DataExchange.h.

class CDialog;

// One run of a dialog's data exchange, in one direction.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate; // true: controls to fields; false: fields to controls
};
