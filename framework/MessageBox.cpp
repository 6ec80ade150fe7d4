// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "AfxTypes.h"
#include "Dialog.h"
#include "Resources.h"
#include "WinApp.h"

#include <QEventLoop>
#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0) {
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
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

int AnswerOf(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    }
    return IDOK;
}

} // namespace

// The box runs its own loop rather than an application-modal one, so windows
// other than its owner (a help viewer, for one) stay usable.
int AfxMessageBox(const char* text, unsigned type) {
    CDialog* main = AfxGetMainWnd();
    QWidget* owner = main ? main->GetSafeHwnd() : nullptr;
    QMessageBox box(IconOf(type), QString::fromStdString(AfxGetAppName()),
                    QString::fromUtf8(text ? text : ""), ButtonsOf(type), owner);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowModality(owner ? Qt::WindowModal : Qt::NonModal);
    QEventLoop loop;
    int answer = IDCANCEL;
    QObject::connect(&box, &QMessageBox::finished, &loop, [&loop, &answer, &box](int) {
        QAbstractButton* clicked = box.clickedButton();
        answer = clicked ? AnswerOf(box.standardButton(clicked)) : IDCANCEL;
        loop.quit();
    });
    box.show();
    loop.exec(QEventLoop::DialogExec);
    return answer;
}

int AfxMessageBox(unsigned id, unsigned type) {
    const char* text = FindStringResource(id);
    return text ? AfxMessageBox(text, type) : 0;
}
