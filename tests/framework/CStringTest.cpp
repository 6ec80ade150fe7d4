// SPDX-License-Identifier: GPL-3.0-or-later
#include "CString.h"
#include "QtTestRows.h"
#include "Resources.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const StringResource kStrings[] = {{101, "&About Tarvin"}, {7, ""}};
const ResourceModule kModule = {{}, kStrings, {}};

} // namespace

class CStringTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { AfxSetResourceModule(nullptr); }

    void findsFirstCharacter_data();
    void findsFirstCharacter();
    void formatsOneDouble_data();
    void formatsOneDouble();
    void refusesOtherFormats_data();
    void refusesOtherFormats();
    void joinsTexts();
    void comparesWholeTexts();
    void bufferEndsAtNulOrGivenLength();
    void loadsStringTable_data();
    void loadsStringTable();
};

void CStringTest::findsFirstCharacter_data() {
    QtTestRows<QByteArray, char, int> table({"text", "ch", "index"});
    table.Add({
        {"first of two", "a=b=c", '=', 1},
        {"at the start", "=5", '=', 0},
        {"at the end", "a==", '=', 1},
        {"absent", "a+b", '=', -1},
        {"empty text", "", '=', -1},
        {"byte of a multibyte character", "\xc3\xa9=", '=', 2},
    });
}

void CStringTest::findsFirstCharacter() {
    QFETCH(QByteArray, text);
    QFETCH(char, ch);
    QFETCH(int, index);
    QCOMPARE(CString(text.constData()).Find(ch), index);
}

namespace {

// A format with one double, the value, and the text it gives.
struct FormatRow {
    const char* name;
    const char* format;
    double value;
    const char* text;
};

} // namespace

void CStringTest::formatsOneDouble_data() {
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    const double inf = std::numeric_limits<double>::infinity();
    const FormatRow rows[] = {
        {"million in exponent form", "%g", 1048576.0, "1.04858e+06"},
        {"below 1e6 stays plain", "%g", 999999.0, "999999"},
        {"rounding reaches 1e6", "%g", 999999.5, "1e+06"},
        {"1e-4 stays plain", "%g", 0.0001, "0.0001"},
        {"below 1e-4 in exponent form", "%g", 0.00001, "1e-05"},
        {"six significant digits", "%g", 1.0 / 3, "0.333333"},
        {"trailing zeros and point dropped", "%g", 2.0, "2"},
        {"negative zero keeps its sign", "%g", -0.0, "-0"},
        {"infinity", "%g", inf, "inf"},
        {"negative infinity", "%g", -inf, "-inf"},
        {"quiet nan", "%g", std::nan(""), "nan"},
        {"negative nan", "%g", -std::nan(""), "-nan"},
        {"literal percent beside", "%g%%", 5.0, "5%"},
        {"width and precision", "[%8.3f]", 2.5, "[   2.500]"},
    };
    for (const FormatRow& row : rows)
        QTest::newRow(row.name) << QByteArray(row.format) << row.value << QByteArray(row.text);
}

void CStringTest::formatsOneDouble() {
    QFETCH(QByteArray, format);
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    CString s("old");
    QVERIFY(s.Format(format.constData(), value));
    QCOMPARE(QByteArray(s.GetString()), text);
}

void CStringTest::refusesOtherFormats_data() {
    QtTestRows<QByteArray> table({"format"});
    table.Add({
        {"string conversion", "%s"},
        {"integer conversion", "%d"},
        {"two conversions", "%g %g"},
        {"no conversion", "value"},
        {"lone percent at end", "5%"},
        {"star width takes an int", "%*g"},
        {"pointer written through", "%g%n"},
    });
}

void CStringTest::refusesOtherFormats() {
    QFETCH(QByteArray, format);
    CString s("old");
    QVERIFY(!s.Format(format.constData(), 1.0));
    QCOMPARE(QByteArray(s.GetString()), QByteArray("old"));
}

void CStringTest::joinsTexts() {
    CString line("5");
    CString prefixed = "ans=" + line;
    QCOMPARE(QByteArray(prefixed), QByteArray("ans=5"));
    CString archive("old\r\n");
    archive = prefixed + "\r\n" + archive;
    QCOMPARE(QByteArray(archive), QByteArray("ans=5\r\nold\r\n"));
    archive += 'x';
    archive += CString("y");
    QCOMPARE(archive.GetLength(), 14);
    QCOMPARE(QByteArray(archive), QByteArray("ans=5\r\nold\r\nxy"));
}

void CStringTest::comparesWholeTexts() {
    QVERIFY(CString("var") == "var");
    QVERIFY(!(CString("var ") == "var"));
    QVERIFY(!(CString("Var") == "var"));
    QVERIFY(CString("var") == CString("var"));
    QVERIFY(CString("a").Compare("b") < 0);
    QVERIFY(CString("b").Compare("a") > 0);
    QCOMPARE(CString("").Compare(""), 0);
}

void CStringTest::bufferEndsAtNulOrGivenLength() {
    CString s("ab");
    char* buffer = s.GetBuffer(10);
    QCOMPARE(QByteArray(buffer), QByteArray("ab"));
    std::strcpy(buffer, "wxyz");
    s.ReleaseBuffer();
    QCOMPARE(s.GetLength(), 4);
    s.GetBuffer(0)[1] = 'Q';
    s.ReleaseBuffer(2);
    QCOMPARE(QByteArray(s), QByteArray("wQ"));
}

void CStringTest::loadsStringTable_data() {
    QtTestRows<bool, unsigned, bool, QByteArray> table({"registered", "id", "loads", "text"});
    table.Add({
        {"present", true, 101u, true, "&About Tarvin"},
        {"present but empty", true, 7u, true, ""},
        {"absent leaves text", true, 102u, false, "old"},
        {"no string table", false, 101u, false, "old"},
    });
}

void CStringTest::loadsStringTable() {
    QFETCH(bool, registered);
    QFETCH(unsigned, id);
    QFETCH(bool, loads);
    QFETCH(QByteArray, text);
    AfxSetResourceModule(registered ? &kModule : nullptr);
    CString s("old");
    QCOMPARE(s.LoadString(id), loads);
    QCOMPARE(QByteArray(s), text);
}

QTEST_APPLESS_MAIN(CStringTest)
#include "CStringTest.moc"
