// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPlacement.h"

#include <algorithm>
#include <optional>

namespace {

// Between the help window and the window it stays clear of.
constexpr int kGap = 8;

struct Bounds {
    QSize preferred; // already within the work area
    QSize minimum;
    QRect work;
};

int RoomRight(const QRect& avoid, const QRect& work) {
    return work.right() - avoid.right() - kGap;
}

int RoomLeft(const QRect& avoid, const QRect& work) {
    return avoid.left() - work.left() - kGap;
}

int RoomBelow(const QRect& avoid, const QRect& work) {
    return work.bottom() - avoid.bottom() - kGap;
}

int RoomAbove(const QRect& avoid, const QRect& work) {
    return avoid.top() - work.top() - kGap;
}

// A frame of the width on the right or the left of `avoid`, level with its top.
QRect Beside(const QRect& avoid, int width, bool right, const Bounds& bounds) {
    const int height = bounds.preferred.height();
    const int top = std::clamp(avoid.top(), bounds.work.top(), bounds.work.bottom() + 1 - height);
    const int left = right ? avoid.right() + 1 + kGap : avoid.left() - kGap - width;
    return QRect(left, top, width, height);
}

// A frame of the height below or above `avoid`, level with its left edge.
QRect AboveOrBelow(const QRect& avoid, int height, bool below, const Bounds& bounds) {
    const int width = bounds.preferred.width();
    const int left = std::clamp(avoid.left(), bounds.work.left(), bounds.work.right() + 1 - width);
    const int top = below ? avoid.bottom() + 1 + kGap : avoid.top() - kGap - height;
    return QRect(left, top, width, height);
}

// Steps 1 to 3 against one rectangle to stay clear of; nothing when none fits.
std::optional<QRect> ClearOf(const QRect& avoid, const Bounds& bounds) {
    const int right = RoomRight(avoid, bounds.work);
    const int left = RoomLeft(avoid, bounds.work);
    if (right >= bounds.preferred.width() || left >= bounds.preferred.width())
        return Beside(avoid, bounds.preferred.width(), right >= bounds.preferred.width(), bounds);
    if (std::max(right, left) >= bounds.minimum.width())
        return Beside(avoid, std::max(right, left), right >= left, bounds);
    const int below = RoomBelow(avoid, bounds.work);
    const int above = RoomAbove(avoid, bounds.work);
    if (std::max(below, above) >= bounds.minimum.height())
        return AboveOrBelow(avoid, std::min(std::max(below, above), bounds.preferred.height()),
                            below >= above, bounds);
    return std::nullopt;
}

} // namespace

QRect HelpWindowFrame(const QRect& owner, const QRect& keepClear, const QSize& preferred,
                      const QSize& minimum, const QRect& workArea) {
    const QSize fitted = preferred.boundedTo(workArea.size());
    const Bounds bounds{fitted, minimum.boundedTo(fitted), workArea};
    if (const std::optional<QRect> frame = ClearOf(owner, bounds))
        return *frame;
    if (!keepClear.isEmpty()) {
        if (const std::optional<QRect> frame = ClearOf(keepClear, bounds))
            return *frame;
    }
    const bool right = RoomRight(owner, workArea) >= RoomLeft(owner, workArea);
    const int left = right ? workArea.right() + 1 - bounds.minimum.width() : workArea.left();
    return QRect(QPoint(left, Beside(owner, 0, right, bounds).top()),
                 QSize(bounds.minimum.width(), fitted.height()));
}
