// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <string>
#include <string_view>

class QProcess;

// The help engine keeps at most one viewer process per help file, started on
// the first topic request for that file and ended by the quit request. The
// processes belong to the application object and are told to close when it
// goes away.

// Sets the viewer program to start; an empty path restores the default, the
// viewer beside the running executable. Lets a test make the start fail.
void SetHelpViewerProgram(std::string_view path);

// The viewer program that the next start will run.
std::string HelpViewerProgram();

// Shows the topic of the context from the help file, starting the file's
// viewer if none runs; a viewer that opens does so beside the owner's frame
// (screen coordinates) when one is given, and never over the region of it to
// keep clear. False when the viewer cannot be started.
bool ShowHelpTopic(std::string_view helpFile, unsigned long context,
                   const QRect& ownerFrame = QRect(), const QRect& keepClear = QRect());

// Tells the viewer of the help file to close and forgets it; does nothing when
// no viewer shows that file.
void QuitHelpViewer(std::string_view helpFile);

// The running viewer process of the help file, or nullptr when there is none.
QProcess* RunningHelpViewer(std::string_view helpFile);
