// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "AfxTypes.h"
#include "Dialog.h"
#include "Resources.h"
#include "WinApp.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The answer to the button that closed the box; a box closed by no button is cancelled.
int AnswerOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    }
    return IDCANCEL;
}

} // namespace

// Modal to its owner only, so that windows other than its owner stay usable; a box without an
// owner is modal to the application, as exec() makes it.
int AfxMessageBox(const char* text, unsigned type) {
    CDialog* main = AfxGetMainWnd();
    QWidget* owner = main ? main->GetSafeHwnd() : nullptr;
    QMessageBox box(IconOf(type), QString::fromStdString(AfxGetAppName()),
                    QString::fromUtf8(text ? text : ""), ButtonsOf(type), owner);
    box.setObjectName(QStringLiteral("MessageBox"));
    if (owner)
        box.setWindowModality(Qt::WindowModal);
    return AnswerOf(box.exec());
}

int AfxMessageBox(unsigned id, unsigned type) {
    const char* text = FindStringResource(id);
    return text ? AfxMessageBox(text, type) : 0;
}
