// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleFactory.h"

#include "AccessibleLineEdit.h"
#include "Announcer.h"

#include <QLineEdit>

namespace {

// Asked with each class name of the object's class chain, most derived
// first; an interface for a class name ends the search.
QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("QWidget"))
        if (auto* announcer = dynamic_cast<CAnnouncer*>(object))
            return new QAccessibleWidget(announcer, QAccessible::Notification);
    if (className == QLatin1String("QLineEdit"))
        return new CAccessibleLineEdit(static_cast<QLineEdit*>(object));
    return nullptr;
}

} // namespace

void InstallAccessibleFactory() {
    static const bool kInstalled = [] {
        QAccessible::installFactory(CreateInterface);
        return true;
    }();
    (void)kInstalled;
}
