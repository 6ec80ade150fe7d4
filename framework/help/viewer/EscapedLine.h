// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The line as it may be written to a terminal: printable ASCII as it is, a backslash doubled,
// and every other byte (controls, escape sequences, NUL, bytes above 0x7e) as \xHH.
QByteArray EscapedLine(QByteArrayView line);
