// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// The text browser lays markup out recursively, and each table level lays its content out
// again, so deep or large markup can exhaust the stack or run for minutes. A page is shown
// only when its elements nest at most kMaxMarkupDepth deep and their weight stays within
// kMaxMarkupWeight: an element counts 1, doubled for each table around it.
inline constexpr int kMaxMarkupDepth = 64;
inline constexpr qint64 kMaxMarkupWeight = 10000;
// A word longer than a line is broken anywhere, at a cost that grows with the square of its
// length: a page is shown only when no stretch of its text without a line-break opportunity
// holds more than kMaxWordCharacters characters.
inline constexpr qsizetype kMaxWordCharacters = 1000;

// Why the markup is beyond those bounds, as a sentence; an empty text when it is within them.
// The elements are counted as the browser nests them, or deeper: an end tag closes the latest
// open element of its name, a <p> or <li> closes a <p> or <li> open directly around it, and
// only <br>, <hr> and <img> never hold anything. Words are measured in the text outside the
// tags and the <style> elements, as if no tag broke them, and an entity counts as its letters.
QString MarkupBeyondBounds(QStringView html);

// The characters of the longest stretch of the markup's text that the layout cannot break, as
// MarkupBeyondBounds measures it.
qsizetype LongestWord(QStringView html);
