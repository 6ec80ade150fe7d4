// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

// One line of the viewer's input, read by the rules of HelpProtocol.h.
enum class HelpCommandKind { Topic, State, Quit, Unknown };

struct HelpCommand {
    HelpCommandKind kind;
    unsigned long context; // the topic's help context; 0 for other commands
};

HelpCommand ParseHelpCommand(QByteArrayView line);
