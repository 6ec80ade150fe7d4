// SPDX-License-Identifier: GPL-3.0-or-later
#include "CString.h"
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
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("ch");
    QTest::addColumn<int>("index");
    QTest::newRow("first of two") << QByteArray("a=b=c") << '=' << 1;
    QTest::newRow("at the start") << QByteArray("=5") << '=' << 0;
    QTest::newRow("at the end") << QByteArray("a==") << '=' << 1;
    QTest::newRow("absent") << QByteArray("a+b") << '=' << -1;
    QTest::newRow("empty text") << QByteArray("") << '=' << -1;
    QTest::newRow("byte of a multibyte character") << QByteArray("\xc3\xa9=") << '=' << 2;
}

void CStringTest::findsFirstCharacter() {
    QFETCH(QByteArray, text);
    QFETCH(char, ch);
    QFETCH(int, index);
    QCOMPARE(CString(text.constData()).Find(ch), index);
}

void CStringTest::formatsOneDouble_data() {
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("million in exponent form")
        << QByteArray("%g") << 1048576.0 << QByteArray("1.04858e+06");
    QTest::newRow("below 1e6 stays plain") << QByteArray("%g") << 999999.0 << QByteArray("999999");
    QTest::newRow("rounding reaches 1e6") << QByteArray("%g") << 999999.5 << QByteArray("1e+06");
    QTest::newRow("1e-4 stays plain") << QByteArray("%g") << 0.0001 << QByteArray("0.0001");
    QTest::newRow("below 1e-4 in exponent form")
        << QByteArray("%g") << 0.00001 << QByteArray("1e-05");
    QTest::newRow("six significant digits")
        << QByteArray("%g") << 1.0 / 3 << QByteArray("0.333333");
    QTest::newRow("trailing zeros and point dropped") << QByteArray("%g") << 2.0 << QByteArray("2");
    QTest::newRow("negative zero keeps its sign") << QByteArray("%g") << -0.0 << QByteArray("-0");
    QTest::newRow("infinity") << QByteArray("%g") << inf << QByteArray("inf");
    QTest::newRow("negative infinity") << QByteArray("%g") << -inf << QByteArray("-inf");
    QTest::newRow("quiet nan") << QByteArray("%g") << std::nan("") << QByteArray("nan");
    QTest::newRow("negative nan") << QByteArray("%g") << -std::nan("") << QByteArray("-nan");
    QTest::newRow("literal percent beside") << QByteArray("%g%%") << 5.0 << QByteArray("5%");
    QTest::newRow("width and precision")
        << QByteArray("[%8.3f]") << 2.5 << QByteArray("[   2.500]");
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
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("string conversion") << QByteArray("%s");
    QTest::newRow("integer conversion") << QByteArray("%d");
    QTest::newRow("two conversions") << QByteArray("%g %g");
    QTest::newRow("no conversion") << QByteArray("value");
    QTest::newRow("lone percent at end") << QByteArray("5%");
    QTest::newRow("star width takes an int") << QByteArray("%*g");
    QTest::newRow("pointer written through") << QByteArray("%g%n");
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
    QTest::addColumn<bool>("registered");
    QTest::addColumn<unsigned>("id");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("present") << true << 101u << true << QByteArray("&About Tarvin");
    QTest::newRow("present but empty") << true << 7u << true << QByteArray("");
    QTest::newRow("absent leaves text") << true << 102u << false << QByteArray("old");
    QTest::newRow("no string table") << false << 101u << false << QByteArray("old");
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
