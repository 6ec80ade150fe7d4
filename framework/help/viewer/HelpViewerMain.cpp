// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer: shows the topics of one help file as the help engine asks
// over standard input (see HelpProtocol.h).
//   usage: tarvin-help <help file>
//          tarvin-help --help | --version

#include "EscapedLine.h"
#include "HelpCommandReader.h"
#include "HelpDocument.h"
#include "HelpFileSearch.h"
#include "HelpProtocol.h"
#include "HelpViewerWindow.h"
#include "InformationOption.h"
#include "TarvinVersion.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void WriteState(const HelpViewerWindow& window) {
    const QByteArray reply = HelpStateReply(window.PageName(), window.isVisible());
    std::fwrite(reply.constData(), 1, static_cast<std::size_t>(reply.size()), stdout);
    std::fflush(stdout);
}

void Obey(const QByteArray& line, HelpViewerWindow& window, HelpCommandReader& reader) {
    const HelpCommand command = ParseHelpCommand(line);
    switch (command.kind) {
    case HelpCommandKind::Topic:
        window.ShowContext(command.context, command.owner, command.keepClear);
        break;
    case HelpCommandKind::State:
        WriteState(window);
        break;
    case HelpCommandKind::Quit:
        reader.Stop(); // nothing after quit is obeyed, though it came in the same read
        window.close();
        QApplication::quit();
        break;
    case HelpCommandKind::Unknown:
        std::fprintf(stderr, "%s: unknown command: %s\n", kHelpViewerProgramName,
                     EscapedLine(line).constData());
        break;
    }
}

// The program's icon, compiled in from its images under :/program-icon.
QIcon ProgramIcon() {
    QIcon icon;
    const QDir images(QStringLiteral(":/program-icon"));
    for (const QString& name : images.entryList(QDir::Files))
        icon.addFile(images.filePath(name));
    return icon;
}

// The commands come on descriptor 0. When it is closed, the next descriptor opened (the event
// loop's own) would take its number and be read as input, so the viewer ends at once; closed
// output descriptors are opened on /dev/null, so no descriptor of the viewer's takes their place.
bool StandardDescriptorsUsable() {
    if (::fcntl(STDIN_FILENO, F_GETFD) < 0)
        return false;
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) < 0 && ::open("/dev/null", O_WRONLY) != fd)
            return false;
    }
    return true;
}

constexpr const char* kUsage =
    "Usage: %s HELP-FILE\n"
    "Shows the topics of a Tarvin help file in a window, as the calculator asks on standard\n"
    "input; the calculator starts it when its Help button or F1 is pressed.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "See tarvin-help(1) for the commands it reads and the help file's format.\n";

} // namespace

int main(int argc, char** argv) {
    if (const int status =
            AnswerInformationOption(argc, argv, kHelpViewerProgramName, kUsage, TARVIN_VERSION);
        status >= 0)
        return status;
    // A state reply to a pipe whose reader has gone fails that write only, not the viewer.
    std::signal(SIGPIPE, SIG_IGN);
    if (!StandardDescriptorsUsable()) {
        std::fprintf(stderr, "%s: standard input is closed\n", kHelpViewerProgramName);
        return 2;
    }
    QApplication app(argc, argv);
    // DESKTOP ENTRY: its own entry, packaging/tarvin-help.desktop, which no
    // menu shows, names the program's icon for the desktop.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kHelpViewerProgramName));
    QApplication::setWindowIcon(ProgramIcon());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: %s <help file>\n", kHelpViewerProgramName);
        return 2;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    const QString helpFile =
        FindHelpFile(arguments.at(1), HelpDataFolders(qEnvironmentVariable("XDG_DATA_DIRS"),
                                                      InstalledHelpDataFolder()));
    HelpViewerWindow window(LoadHelpDocument(helpFile));
    HelpCommandReader reader(STDIN_FILENO);
    QObject::connect(&reader, &HelpCommandReader::lineReceived, &window,
                     [&window, &reader](const QByteArray& line) { Obey(line, window, reader); });
    QObject::connect(&reader, &HelpCommandReader::endOfInput, &app, &QApplication::quit);
    return QApplication::exec();
}
