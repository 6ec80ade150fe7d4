// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpFileSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The data folders a desktop searches when its list is unset or empty.
constexpr const char* kDefaultDataDirs = "/usr/local/share:/usr/share";

QString ProgramFolderIn(const QString& dataDir) {
    return QDir::cleanPath(dataDir + QLatin1Char('/') + QLatin1String(TARVIN_DATA_FOLDER_NAME));
}

} // namespace

QStringList HelpDataFolders(const QString& xdgDataDirs, const QString& installedDataFolder) {
    const QString list =
        xdgDataDirs.isEmpty() ? QString::fromLatin1(kDefaultDataDirs) : xdgDataDirs;
    QStringList folders;
    for (const QString& dir : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            folders.append(ProgramFolderIn(dir));
    }
    if (!installedDataFolder.isEmpty())
        folders.append(QDir::cleanPath(installedDataFolder));
    return folders;
}

QString InstalledHelpDataFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QLatin1String(TARVIN_DATA_FOLDER_FROM_BIN));
}

QString FindHelpFile(const QString& requested, const QStringList& folders) {
    if (QFileInfo(requested).isFile())
        return requested;
    const QString name = QFileInfo(requested).fileName();
    if (name.isEmpty())
        return requested;
    for (const QString& folder : folders) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return requested;
}
