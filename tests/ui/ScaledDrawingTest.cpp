// SPDX-License-Identifier: GPL-3.0-or-later
// The main window drawn at the device-pixel ratio that the environment sets
// (QT_FONT_DPI, QT_SCALE_FACTOR; see the test's table in CMakeLists.txt): every
// control whole, frames and scroll bars included, as the pixels show, and the
// window placed with its top left corner on the screen.

#include "CalculatorDialogDriver.h"
#include "LinePreparation.h"

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>

namespace {

// A pixel of a frame line: clearly darker than the window's background.
bool IsLine(QRgb pixel, int background) {
    return qGray(pixel) < background - 24;
}

// Whether a line runs along one side of rect (device pixels): some row or
// column within the outermost three pixels on that side, whose middle part
// is frame-coloured almost throughout.
bool SideHasLine(const QImage& image, const QRect& rect, Qt::Edge side, int background) {
    const bool across = side == Qt::TopEdge || side == Qt::BottomEdge;
    const int from = across ? rect.left() + rect.width() / 5 : rect.top() + rect.height() / 5;
    const int to = across ? rect.right() - rect.width() / 5 : rect.bottom() - rect.height() / 5;
    for (int depth = 0; depth < 3; ++depth) {
        int fixed = 0;
        switch (side) {
        case Qt::TopEdge:
            fixed = rect.top() + depth;
            break;
        case Qt::BottomEdge:
            fixed = rect.bottom() - depth;
            break;
        case Qt::LeftEdge:
            fixed = rect.left() + depth;
            break;
        case Qt::RightEdge:
            fixed = rect.right() - depth;
            break;
        }
        int lines = 0;
        for (int along = from; along <= to; ++along) {
            const QPoint at = across ? QPoint(along, fixed) : QPoint(fixed, along);
            if (image.rect().contains(at) && IsLine(image.pixel(at), background))
                ++lines;
        }
        if (to >= from && lines * 10 >= (to - from + 1) * 9)
            return true;
    }
    return false;
}

} // namespace

class ScaledDrawingTest : public CalculatorDialogFixture {
    Q_OBJECT

public:
    ScaledDrawingTest() : CalculatorDialogFixture(Bring::Exposed) {}

private slots:
    void init();

    void controlsAreDrawnWhole_data();
    void controlsAreDrawnWhole();
    void windowTopLeftIsOnScreen();
    void refusalIsReadWholeInTheResultField_data();
    void refusalIsReadWholeInTheResultField();
};

void ScaledDrawingTest::init() {
    CalculatorDialogFixture::init();
    if (QTest::currentTestFailed())
        return;
    // A long line makes the archive's horizontal scroll bar worth drawing.
    m_driver->Enter(QString(200, QLatin1Char('1')));
}

void ScaledDrawingTest::controlsAreDrawnWhole_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("sides");
    const int all = Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge;
    QTest::newRow("input") << "IDC_INPUT" << all;
    QTest::newRow("result") << "IDC_RESULT" << all;
    QTest::newRow("archive") << "IDC_ARCHIVE" << all;
    QTest::newRow("variables") << "IDC_VARIABLES" << all;
    QTest::newRow("Calculate") << "IDC_CALCULATE" << all;
    QTest::newRow("Help") << "ID_HELP" << all;
    // Its top line; its other edges meet the pane's frame and arrow buttons.
    QTest::newRow("archive's horizontal scroll bar") << "archive scroll bar" << int(Qt::TopEdge);
}

void ScaledDrawingTest::controlsAreDrawnWhole() {
    QFETCH(QString, control);
    QFETCH(int, sides);
    QWidget* window = m_driver->Window();
    QWidget* widget = control == QStringLiteral("archive scroll bar")
                          ? m_driver->Archive()->horizontalScrollBar()
                          : window->findChild<QWidget*>(control);
    QVERIFY(widget && widget->isVisible());
    const QImage image = window->grab().toImage();
    const qreal ratio = window->devicePixelRatioF();
    QCOMPARE(qRound(image.width() / ratio), window->width());
    const QRect logical(widget->mapTo(window, QPoint(0, 0)), widget->size());
    const QRect device(QPoint(qRound(logical.left() * ratio), qRound(logical.top() * ratio)),
                       QPoint(qRound((logical.right() + 1) * ratio) - 1,
                              qRound((logical.bottom() + 1) * ratio) - 1));
    const int background = qGray(window->palette().color(QPalette::Window).rgb());
    for (Qt::Edge side : {Qt::TopEdge, Qt::BottomEdge, Qt::LeftEdge, Qt::RightEdge}) {
        if ((sides & side) && !SideHasLine(image, device, side, background)) {
            image.save(QStringLiteral("scaled-%1.png").arg(QTest::currentDataTag()));
            QFAIL(qPrintable(QStringLiteral("no line along side %1 of %2 at ratio %3")
                                 .arg(int(side))
                                 .arg(control)
                                 .arg(ratio)));
        }
    }
}

// A window larger than the work area keeps its title bar on the screen.
void ScaledDrawingTest::windowTopLeftIsOnScreen() {
    QWidget* window = m_driver->Window();
    const QRect area = window->screen()->availableGeometry();
    QVERIFY2(area.contains(window->frameGeometry().topLeft()),
             qPrintable(QStringLiteral("frame at %1,%2 in work area %3,%4 %5x%6")
                            .arg(window->frameGeometry().x())
                            .arg(window->frameGeometry().y())
                            .arg(area.x())
                            .arg(area.y())
                            .arg(area.width())
                            .arg(area.height())));
}

void ScaledDrawingTest::refusalIsReadWholeInTheResultField_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("a line over the bound") << QString(qsizetype(kMaxLineLength) + 1, u'1');
    QTest::newRow("a line with a NUL byte") << QStringLiteral("q=1") + QChar(0) + "+5";
}

// The field shows the whole refusal: with the caret after its last letter, its first letter
// still stands at the field's left edge, so nothing was scrolled out of sight. The field
// scrolls as it is drawn.
void ScaledDrawingTest::refusalIsReadWholeInTheResultField() {
    QFETCH(QString, line);
    m_driver->Input()->setText(line);
    QTest::keyClick(m_driver->Input(), Qt::Key_Return);
    QLineEdit* result = m_driver->Result();
    QVERIFY(result->text() != QStringLiteral("Error"));
    result->setCursorPosition(0);
    result->repaint();
    const int start = result->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    result->end(false);
    result->repaint();
    const int end = result->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    const int width = result->fontMetrics().horizontalAdvance(result->text());
    QVERIFY2(end - start >= width - 1,
             qPrintable(QStringLiteral("\"%1\" is %2 pixels wide; the field shows %3 of them")
                            .arg(result->text())
                            .arg(width)
                            .arg(end - start)));
}

QTEST_MAIN(ScaledDrawingTest)
#include "ScaledDrawingTest.moc"
