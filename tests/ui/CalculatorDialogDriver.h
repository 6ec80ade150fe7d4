// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds the real main dialog as a modeless window and drives it as a user
// does: keys into the input field, a click on Calculate, the result read back.
// Needs a QApplication (QTEST_MAIN gives one) and the offscreen platform.

#include "CalculatorDlg.h"
#include "DataExchange.h"
#include "ProgramResources.h"
#include "ResourceIds.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class CalculatorDialogDriver {
public:
    CalculatorDialogDriver() {
        UseProgramResources();
        m_created = m_dialog.Create();
    }
    ~CalculatorDialogDriver() { m_dialog.DestroyWindow(); }
    CalculatorDialogDriver(const CalculatorDialogDriver&) = delete;
    CalculatorDialogDriver& operator=(const CalculatorDialogDriver&) = delete;

    bool IsCreated() const { return m_created; }
    CCalculatorDlg& Dialog() { return m_dialog; }
    QWidget* Window() const { return m_dialog.GetSafeHwnd(); }

    QLineEdit* Input() const { return Item<QLineEdit>(IDC_INPUT); }
    QLineEdit* Result() const { return Item<QLineEdit>(IDC_RESULT); }
    QPlainTextEdit* Archive() const { return Item<QPlainTextEdit>(IDC_ARCHIVE); }
    QPlainTextEdit* Variables() const { return Item<QPlainTextEdit>(IDC_VARIABLES); }
    QPushButton* CalculateButton() const { return Item<QPushButton>(IDC_CALCULATE); }
    QPushButton* HelpButton() const { return Item<QPushButton>(ID_HELP); }

    // Empties the input field, types line into it key by key, clicks Calculate
    // with the mouse and returns the result field's text.
    QString Press(const QString& line) {
        TypeLine(line);
        QTest::mouseClick(CalculateButton(), Qt::LeftButton);
        return Result()->text();
    }

    // The same, pressing Enter in the input field instead of clicking.
    QString Enter(const QString& line) {
        TypeLine(line);
        QTest::keyClick(Input(), Qt::Key_Return);
        return Result()->text();
    }

    // A field's text as the dialog reads it: 8-bit, lines ended by CR LF.
    std::string Text(int id) const { return GetControlText(m_dialog.GetDlgItem(id)); }

private:
    template <class W> W* Item(int id) const { return qobject_cast<W*>(m_dialog.GetDlgItem(id)); }

    void TypeLine(const QString& line) {
        Input()->clear();
        QTest::keyClicks(Input(), line);
    }

    CCalculatorDlg m_dialog;
    bool m_created = false;
};

// A menu's items as it shows them: each text, with a tab and its shortcut where it has one;
// a separator as an empty text.
inline QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        const QKeySequence key = action->shortcut();
        texts << (key.isEmpty() ? action->text()
                                : action->text() + u'\t' + key.toString(QKeySequence::NativeText));
    }
    return texts;
}

// The fixture the window suites share: a fresh main dialog for every test
// function, brought up as far as the suite needs it, and afterwards any popup
// menu a test left open closed before the dialog itself. A suite with more to
// set up declares its own init() and cleanup(), which call these.
class CalculatorDialogFixture : public QObject {
    Q_OBJECT

protected:
    // How far init() brings the dialog up after creating it.
    enum class Bring {
        Created, // as Create leaves it
        Exposed, // shown, and drawn at least once
        Active,  // the active window, so keys reach it
    };

    explicit CalculatorDialogFixture(Bring bring = Bring::Active) : m_bring(bring) {}

protected slots:
    void init() {
        m_driver = std::make_unique<CalculatorDialogDriver>();
        QVERIFY(m_driver->IsCreated());
        if (m_bring == Bring::Exposed) {
            m_driver->Window()->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_driver->Window()));
        } else if (m_bring == Bring::Active) {
            m_driver->Window()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_driver->Window()));
        }
    }

    void cleanup() {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        m_driver.reset();
    }

protected:
    std::unique_ptr<CalculatorDialogDriver> m_driver;

private:
    const Bring m_bring;
};
