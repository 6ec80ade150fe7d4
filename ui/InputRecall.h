// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CString.h"

// Steps through the archive's lines from the input field, as a terminal steps
// through its history: Older goes from what is being typed to the newest line
// and on toward the oldest, Newer goes back, and past the newest line brings
// back what was being typed. The archive is read as it stands at each step,
// the user's edits included, and is never changed; its empty lines are passed
// over.
class CInputRecall {
public:
    // The next older line into shown; false, shown unchanged, at the oldest
    // line or with no line at all. typed is the input field's text, kept when
    // the step leaves it.
    bool Older(const CString& archive, const CString& typed, CString& shown);
    // The next newer line into shown, or what was being typed after the newest;
    // false, shown unchanged, while nothing was recalled.
    bool Newer(const CString& archive, CString& shown);
    // Back to what is being typed, with no line recalled: after each line run.
    void Reset();

private:
    // How many lines back from the newest the field shows; kTyping for none.
    static constexpr int kTyping = -1;
    int m_back = kTyping;
    CString m_typed;
};
