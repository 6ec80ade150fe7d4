// SPDX-License-Identifier: GPL-3.0-or-later
// The help page as a screen reader reads it: a document named by the topic's
// title, whose lines and paragraphs, read one after another, give back the
// whole text, with none of the toolkit's private marks in it.

#include "HelpViewerWindow.h"

#include <QAccessible>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {

QString Page(const QString& body) {
    return QStringLiteral("<html><head><title>Demo Help</title></head><body>"
                          "<section id=\"0x20066\"><h1>Main topic</h1>%1</section>"
                          "</body></html>")
        .arg(body);
}

// What a reader gets walking the text piece by piece from the start, as a
// screen reader does with the arrow keys.
QStringList Pieces(QAccessibleTextInterface* text, QAccessible::TextBoundaryType boundary) {
    QStringList pieces;
    int start = 0;
    int end = 0;
    QString piece = text->textAtOffset(0, boundary, &start, &end);
    while (start >= 0 && end > start && pieces.size() < 1000) {
        pieces << piece;
        piece = text->textAfterOffset(start, boundary, &start, &end);
    }
    return pieces;
}

} // namespace

class HelpPageAccessibleTest : public QObject {
    Q_OBJECT

private slots:
    void pageReadsByLineAndParagraph_data();
    void pageReadsByLineAndParagraph();
};

void HelpPageAccessibleTest::pageReadsByLineAndParagraph_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("fewestPieces");
    const QString paragraphs = QStringLiteral("<p>First paragraph.</p><p>Second one.</p>");
    const QString table = QStringLiteral("<table><tr><td>cell a</td><td>cell b</td></tr></table>"
                                         "<p>after the table</p>");
    const QString longLine = QStringLiteral("<p>%1</p>").arg(QStringLiteral("word ").repeated(200));
    QTest::newRow("paragraphs by paragraph")
        << paragraphs << int(QAccessible::ParagraphBoundary) << 3;
    QTest::newRow("paragraphs by line") << paragraphs << int(QAccessible::LineBoundary) << 3;
    QTest::newRow("a table (frame marks) by paragraph")
        << table << int(QAccessible::ParagraphBoundary) << 4;
    QTest::newRow("a table (frame marks) by line") << table << int(QAccessible::LineBoundary) << 4;
    QTest::newRow("a long paragraph: one piece")
        << longLine << int(QAccessible::ParagraphBoundary) << 2;
    QTest::newRow("a long paragraph: many lines as laid out")
        << longLine << int(QAccessible::LineBoundary) << 6;
}

void HelpPageAccessibleTest::pageReadsByLineAndParagraph() {
    QFETCH(QString, body);
    QFETCH(int, boundary);
    QFETCH(int, fewestPieces);
    HelpViewerWindow window(ParseHelpDocument(QStringLiteral("/x/demo.HLP"), Page(body)));
    window.ShowContext(0x20066);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(window.Browser());
    QVERIFY(page && page->textInterface());
    QCOMPARE(page->role(), QAccessible::Document);
    QCOMPARE(page->text(QAccessible::Name), QStringLiteral("Main topic"));
    QAccessibleTextInterface* text = page->textInterface();
    const QString whole = text->text(0, text->characterCount());
    for (char16_t mark : {u'\uFDD0', u'\uFDD1', u'\uFFFC', u'\u2029'})
        QVERIFY2(!whole.contains(QChar(mark)), qPrintable(QString::number(mark, 16)));
    const QStringList pieces = Pieces(text, static_cast<QAccessible::TextBoundaryType>(boundary));
    QCOMPARE(pieces.join(QString()), whole);
    QVERIFY2(pieces.size() >= fewestPieces, qPrintable(pieces.join(QLatin1Char('|'))));
    if (boundary == QAccessible::ParagraphBoundary)
        QCOMPARE(pieces.first(), QStringLiteral("Main topic\n"));
}

QTEST_MAIN(HelpPageAccessibleTest)
#include "HelpPageAccessibleTest.moc"
