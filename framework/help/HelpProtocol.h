// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>
#include <QString>

// The help engine talks to its viewer process over the viewer's standard input,
// one command a line, each ended by '\n':
//   topic <context> [<x> <y> <width> <height> [<x> <y> <width> <height>]]
//                     show the topic of this help context (decimal) and raise the window;
//                     the first four numbers, when given, are the asking window's frame on the
//                     screen (decimal, x and y may be negative), beside which the viewer opens;
//                     the next four, when given, are the region of that window which the viewer
//                     never covers where the screen is too small to stay clear of all of it
//   state             write one line "state <page> <visible|hidden>" to standard output,
//                     where <page> is the shown topic's id, "contents", "search" or "message"
//   quit              close the window and end the viewer
// The end of standard input ends the viewer too, so it never outlives its owner's pipe.
// The viewer is started as: tarvin-help <help file>

constexpr const char* kHelpTopicCommand = "topic";
constexpr const char* kHelpStateCommand = "state";
constexpr const char* kHelpQuitCommand = "quit";
constexpr const char* kHelpStateReply = "state";

// Page names in a state reply for pages that are no topic of the file.
constexpr const char* kHelpContentsPage = "contents";
constexpr const char* kHelpSearchPage = "search";
constexpr const char* kHelpMessagePage = "message";

// File name of the viewer program, looked for beside the running executable.
constexpr const char* kHelpViewerProgramName = "tarvin-help";

// One line of the viewer's input, as the viewer reads it.
enum class HelpCommandKind { Topic, State, Quit, Unknown };

struct HelpCommand {
    HelpCommandKind kind;
    unsigned long context; // the topic's help context; 0 for other commands
    QRect owner = {};      // the asking window's frame on the screen; null when not given
    QRect keepClear = {};  // the region of it never to cover; null when not given
};

// The command a line holds, without its '\n'; blanks around words are ignored.
HelpCommand ParseHelpCommand(QByteArrayView line);

// The topic command for the context, without its '\n'; the owner's frame is left out when it
// is empty, as the viewer would refuse it, and the region to keep clear when it or the frame is.
QByteArray HelpTopicLine(unsigned long context, const QRect& ownerFrame = QRect(),
                         const QRect& keepClear = QRect());

// The viewer's answer to the state command, ended by its '\n'.
QByteArray HelpStateReply(const QString& page, bool visible);
