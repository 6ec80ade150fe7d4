// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>

// One line of the viewer's input, read by the rules of HelpProtocol.h.
enum class HelpCommandKind { Topic, State, Quit, Unknown };

struct HelpCommand {
    HelpCommandKind kind;
    unsigned long context; // the topic's help context; 0 for other commands
    QRect owner = {};      // the asking window's frame on the screen; null when not given
};

HelpCommand ParseHelpCommand(QByteArrayView line);

// The line as it may be written to a terminal: printable ASCII as it is, a backslash doubled,
// and every other byte (controls, escape sequences, NUL, bytes above 0x7e) as \xHH.
QByteArray EscapedLine(QByteArrayView line);
