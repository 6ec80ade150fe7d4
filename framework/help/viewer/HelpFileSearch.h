// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where the viewer reads the help file it is asked to show. A help request
// names the file beside the program, which is where a build tree and `make run`
// have it; an installed system keeps its data apart from its programs, so when
// no file exists at the path asked for, the file of the same name is looked for
// in the program's folder of each data folder.

// The folders to look in, in order: "<dir>/tarvin" for each absolute <dir> of
// the colon-separated data-folder list (relative entries are ignored; an empty
// list means the desktop's default "/usr/local/share:/usr/share"), then the
// installation's own data folder.
QStringList HelpDataFolders(const QString& xdgDataDirs, const QString& installedDataFolder);

// The installation's own data folder, found from where the viewer lies, so an
// installation under any prefix reads its own help file.
QString InstalledHelpDataFolder();

// The file to read: the path asked for when a file is there, else the first
// file of the same name in the folders, else the path asked for, so that the
// viewer's message names the file the program asked for.
QString FindHelpFile(const QString& requested, const QStringList& folders);
