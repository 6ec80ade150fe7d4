// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineInput.h"

#include "LinePreparation.h"

LineInput::LineInput(FILE* in) : in_(in) {
    // The bound, and a CR that may stand before the LF.
    line_.reserve(kMaxLineLength + 1);
}

// Skips to the end of the line that passed the bound; false when the input ended first.
bool LineInput::SkipRest() {
    int c;
    while ((c = getc_unlocked(in_)) != EOF)
        if (c == '\n')
            return true;
    return false;
}

LineInput::Status LineInput::Next() {
    if (inLongLine_) {
        inLongLine_ = false;
        if (!SkipRest())
            return Status::End;
    }
    line_.clear();
    int c = getc_unlocked(in_);
    if (c == EOF)
        return Status::End;
    for (; c != EOF && c != '\n'; c = getc_unlocked(in_)) {
        // The bound and one byte more are kept, for a CR that may end the line.
        if (line_.size() > kMaxLineLength) {
            inLongLine_ = true;
            return Status::TooLong;
        }
        line_.push_back(static_cast<char>(c));
    }
    if (c == '\n' && !line_.empty() && line_.back() == '\r')
        line_.pop_back();
    return line_.size() > kMaxLineLength ? Status::TooLong : Status::Line;
}
