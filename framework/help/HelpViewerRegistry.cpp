// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewerRegistry.h"

#include "HelpProtocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>

#include <map>

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kWriteTimeoutMs = 1000;
constexpr int kCloseTimeoutMs = 2000;

std::string& ConfiguredViewerProgram() {
    static std::string program;
    return program;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One help file is one key, however its path was spelled.
QString KeyFor(std::string_view helpFile) {
    return QDir::cleanPath(QFileInfo(ToQString(helpFile)).absoluteFilePath());
}

void SendLine(QProcess* viewer, const QByteArray& line) {
    viewer->write(line + '\n');
    viewer->waitForBytesWritten(kWriteTimeoutMs);
}

// Owns the viewer processes, one per help file; a child of the application
// object, so the viewers are closed when the application goes away.
class HelpViewerRegistry : public QObject {
public:
    explicit HelpViewerRegistry(QObject* parent) : QObject(parent) {}
    ~HelpViewerRegistry() override;
    QProcess* Find(const QString& key);
    QProcess* Start(const QString& key);
    void Forget(const QString& key) { m_viewers.erase(key); }

private:
    void DropIfCurrent(const QString& key, QProcess* viewer);
    std::map<QString, QProcess*> m_viewers;
};

// A viewer that ended on its own (its user closed it for good, or it crashed)
// is dropped here, so the next request starts a new one.
QProcess* HelpViewerRegistry::Find(const QString& key) {
    const auto it = m_viewers.find(key);
    if (it == m_viewers.end())
        return nullptr;
    if (it->second->state() == QProcess::Running)
        return it->second;
    m_viewers.erase(it);
    return nullptr;
}

QProcess* HelpViewerRegistry::Start(const QString& key) {
    auto* viewer = new QProcess(this);
    viewer->setProgram(QString::fromStdString(HelpViewerProgram()));
    viewer->setArguments({key});
    viewer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    viewer->start(QIODevice::ReadWrite);
    if (!viewer->waitForStarted(kStartTimeoutMs)) {
        delete viewer;
        return nullptr;
    }
    connect(viewer, &QProcess::finished, this, [this, key, viewer] {
        DropIfCurrent(key, viewer);
        viewer->deleteLater();
    });
    m_viewers[key] = viewer;
    return viewer;
}

void HelpViewerRegistry::DropIfCurrent(const QString& key, QProcess* viewer) {
    const auto it = m_viewers.find(key);
    if (it != m_viewers.end() && it->second == viewer)
        m_viewers.erase(it);
}

// Every viewer still running, forgotten ones included, sees the end of its
// input and closes; one that does not is killed.
HelpViewerRegistry::~HelpViewerRegistry() {
    const QList<QProcess*> running = findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
    for (QProcess* viewer : running) {
        disconnect(viewer, nullptr, this, nullptr);
        viewer->closeWriteChannel();
    }
    for (QProcess* viewer : running) {
        if (!viewer->waitForFinished(kCloseTimeoutMs))
            viewer->kill();
    }
}

QPointer<HelpViewerRegistry>& RegistrySlot() {
    static QPointer<HelpViewerRegistry> registry;
    return registry;
}

// The registry, or nullptr before the first topic request or once the application is gone.
HelpViewerRegistry* ExistingRegistry() {
    return RegistrySlot();
}

// The registry, made a child of the application object on first use; nullptr without one.
HelpViewerRegistry* RegistryMadeIfMissing() {
    QPointer<HelpViewerRegistry>& registry = RegistrySlot();
    if (!registry && QCoreApplication::instance())
        registry = new HelpViewerRegistry(QCoreApplication::instance());
    return registry;
}

} // namespace

void SetHelpViewerProgram(std::string_view path) {
    ConfiguredViewerProgram() = std::string(path);
}

std::string HelpViewerProgram() {
    if (!ConfiguredViewerProgram().empty())
        return ConfiguredViewerProgram();
    const QString dir = QCoreApplication::applicationDirPath();
    return (dir + QLatin1Char('/') + QLatin1String(kHelpViewerProgramName)).toStdString();
}

bool ShowHelpTopic(std::string_view helpFile, unsigned long context, const QRect& ownerFrame,
                   const QRect& keepClear) {
    HelpViewerRegistry* registry = RegistryMadeIfMissing();
    if (!registry)
        return false;
    const QString key = KeyFor(helpFile);
    QProcess* viewer = registry->Find(key);
    if (!viewer)
        viewer = registry->Start(key);
    if (!viewer)
        return false;
    SendLine(viewer, HelpTopicLine(context, ownerFrame, keepClear));
    return true;
}

void QuitHelpViewer(std::string_view helpFile) {
    HelpViewerRegistry* registry = ExistingRegistry();
    const QString key = KeyFor(helpFile);
    QProcess* viewer = registry ? registry->Find(key) : nullptr;
    if (!viewer)
        return;
    registry->Forget(key);
    SendLine(viewer, kHelpQuitCommand);
    viewer->closeWriteChannel();
}

QProcess* RunningHelpViewer(std::string_view helpFile) {
    HelpViewerRegistry* registry = ExistingRegistry();
    return registry ? registry->Find(KeyFor(helpFile)) : nullptr;
}
