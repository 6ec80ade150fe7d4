// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// Where the help window opens: its frame, in screen coordinates, within the work area (the
// screen without its panels). The window goes, in this order of preference:
// 1. beside the owner's frame, to its right or else to its left, at its preferred width;
// 2. beside it at a narrower width, on the side with more room, down to the minimum width;
// 3. above or below it, on the side with more room, down to the minimum height;
// 4. beside, above or below the region of the owner to keep clear, by the same rules, so that
//    it covers some of the owner but never that region;
// 5. where nothing of that fits, on the side of the owner with more room at the minimum width.
// Its height is the preferred one where it fits, and never more than the work area's; beside,
// its top is level with the owner's (or the region's) as far as the work area allows.
QRect HelpWindowFrame(const QRect& owner, const QRect& keepClear, const QSize& preferred,
                      const QSize& minimum, const QRect& workArea);
