// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up comparison: a bare Qt dialog of a line edit, a
// text area and a button, the least a window of the calculator's kind needs.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLineEdit(&dialog));
    layout->addWidget(new QPlainTextEdit(&dialog));
    layout->addWidget(new QPushButton(QStringLiteral("Calculate"), &dialog));
    dialog.show();
    return application.exec();
}
