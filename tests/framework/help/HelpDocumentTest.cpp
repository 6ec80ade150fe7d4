// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpDocument.h"
#include "HelpPages.h"
#include "HelpResources.h"
#include "HelpViewerWindow.h"
#include "QtTestRows.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <sys/stat.h>

namespace {

constexpr unsigned long kMainContext = 0x20000 + 102;
constexpr unsigned long kAboutContext = 0x20000 + 100;

const QString kTwoTopics = QStringLiteral(
    "<html><head><title>Demo Help</title><style>h1 { color: red; }</style></head><body>"
    "<section id=\"0x20066\"><h1>Main</h1><p>main text</p></section>"
    "<section id=\"0x20064\"><h1>About</h1><p>about text</p></section>"
    "</body></html>");

QString Repeated(const char* text, qsizetype times) {
    return QString::fromLatin1(text).repeated(times);
}

// A help file of one topic, context 1, with the body given.
QString Topic(const QString& body) {
    return QStringLiteral("<section id=\"0x1\"><h1>T</h1>") + body + QStringLiteral("</section>");
}

QStringList TopicIds(const HelpDocument& document) {
    QStringList ids;
    for (const HelpTopic& topic : document.topics)
        ids << topic.id;
    return ids;
}

QStringList TopicTitles(const HelpDocument& document) {
    QStringList titles;
    for (const HelpTopic& topic : document.topics)
        titles << topic.title;
    return titles;
}

} // namespace

class HelpDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void contextGivesTopicId_data();
    void contextGivesTopicId();
    void parsesTopics_data();
    void parsesTopics();
    void parsesLargeFilesInLinearTime_data();
    void parsesLargeFilesInLinearTime();
    void readsTitleAndStyle();
    void choosesPageForContext_data();
    void choosesPageForContext();
    void topicPageHoldsOnlyItsSection();
    void contentsLinksEveryTopic();
    void unreadableFileNamesTheFile_data();
    void unreadableFileNamesTheFile();
    void pageLoadsOnlyFromItsFile_data();
    void pageLoadsOnlyFromItsFile();
    void fileWithoutTopicsSaysSo();
    void shippedFileHasTheDialogTopics_data();
    void shippedFileHasTheDialogTopics();
    void mainTopicExplainsTheLanguage_data();
    void mainTopicExplainsTheLanguage();
};

void HelpDocumentTest::contextGivesTopicId_data() {
    QtTestRows<qulonglong, QString> table({"context", "id"});
    table.Add({
        {"main dialog", kMainContext, "0x20066"},
        {"about box", kAboutContext, "0x20064"},
        {"zero", 0, "0x0"},
        {"hex letters in lower case", 0xABCDEF, "0xabcdef"},
        {"largest 32-bit context", 0xFFFFFFFFul, "0xffffffff"},
    });
}

void HelpDocumentTest::contextGivesTopicId() {
    QFETCH(qulonglong, context);
    QFETCH(QString, id);
    QCOMPARE(TopicIdForContext(static_cast<unsigned long>(context)), id);
}

void HelpDocumentTest::parsesTopics_data() {
    QtTestRows<QString, QStringList, QStringList> table({"html", "ids", "titles"});
    table.Add({
        {"two sections in file order", kTwoTopics, QStringList{"0x20066", "0x20064"},
         QStringList{"Main", "About"}},
        {"section inside a comment is ignored",
         "<!-- <section id=\"0x1\"><h1>Old</h1></section> --><section id=\"0x2\"><h1>New</h1>"
         "</section>",
         QStringList{"0x2"}, QStringList{"New"}},
        {"tags in upper case and other attributes",
         "<SECTION class=\"t\" ID = \"0x5\" lang=\"en\"><H1 class=\"x\">Five</H1></SECTION>",
         QStringList{"0x5"}, QStringList{"Five"}},
        {"section without heading takes its id as title",
         "<section id=\"0x7\"><p>no heading</p></section>", QStringList{"0x7"}, QStringList{"0x7"}},
        {"heading markup and entities become plain text",
         "<section id=\"0x8\"><h1>Sums &amp; <i>powers</i></h1></section>", QStringList{"0x8"},
         QStringList{"Sums & powers"}},
        {"unclosed section ends at the next one",
         "<section id=\"0x1\"><h1>One</h1><section id=\"0x2\"><h1>Two</h1></section>",
         QStringList{"0x1", "0x2"}, QStringList{"One", "Two"}},
        {"unclosed last section runs to the end", "<section id=\"0x3\"><h1>Three</h1><p>text",
         QStringList{"0x3"}, QStringList{"Three"}},
        {"section without id is no topic",
         "<section><h1>Lost</h1></section><section id=\"0x4\"><h1>Kept</h1></section>",
         QStringList{"0x4"}, QStringList{"Kept"}},
        {"no sections", "<html><body><p>nothing</p></body></html>", QStringList{}, QStringList{}},
        {"empty text", "", QStringList{}, QStringList{}},
    });
}

void HelpDocumentTest::parsesTopics() {
    QFETCH(QString, html);
    QFETCH(QStringList, ids);
    QFETCH(QStringList, titles);
    const HelpDocument document = ParseHelpDocument(QStringLiteral("/x/demo.HLP"), html);
    QCOMPARE(TopicIds(document), ids);
    QCOMPARE(TopicTitles(document), titles);
    QVERIFY(document.error.isEmpty());
}

// Each row is about 4 MB that scanning again from every match would take minutes over.
void HelpDocumentTest::parsesLargeFilesInLinearTime_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("topics");
    constexpr int kSections = 100000;
    QString sections;
    for (int i = 1; i <= kSections; ++i)
        sections += QStringLiteral("<section id=\"0x%1\"><h1>T %2</h1>t</section>\n")
                        .arg(QString::number(i, 16), QString::number(i));
    QTest::newRow("many sections") << sections << kSections;
    QTest::newRow("many unclosed sections")
        << QString(sections).remove(QStringLiteral("</section>")) << kSections;
    QTest::newRow("many unclosed comments") << Repeated("<!--", 1000000) + Topic("x") << 1;
    QTest::newRow("many unclosed headings in a topic")
        << "<section id=\"0x1\">" + Repeated("<h1>x", 800000) << 1;
    QTest::newRow("many section tags without an end")
        << Repeated("<section id=\"0x1\" ", 200000) << 0;
    QTest::newRow("many end tags without their bracket")
        << Topic(Repeated("</section  ", 400000)) << 1;
}

void HelpDocumentTest::parsesLargeFilesInLinearTime() {
    QFETCH(QString, html);
    QFETCH(int, topics);
    constexpr qint64 kGenerousMs = 30000; // about a second even in a sanitizer build
    QElapsedTimer timer;
    timer.start();
    const HelpDocument document = ParseHelpDocument(QStringLiteral("/x/demo.HLP"), html);
    const HelpPage contents = ContentsPage(document, QString());
    QVERIFY2(timer.elapsed() < kGenerousMs, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(document.topics.size(), std::size_t(topics));
    QCOMPARE(int(contents.kind), int(topics > 0 ? HelpPageKind::Contents : HelpPageKind::Message));
}

void HelpDocumentTest::readsTitleAndStyle() {
    const HelpDocument document = ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kTwoTopics);
    QCOMPARE(document.title, QStringLiteral("Demo Help"));
    QCOMPARE(document.style, QStringLiteral("h1 { color: red; }"));
    QVERIFY(PageForContext(document, kMainContext).html.contains(document.style));
}

void HelpDocumentTest::choosesPageForContext_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<qulonglong>("context");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("id");
    QTest::newRow("main dialog context shows its topic")
        << kTwoTopics << qulonglong(kMainContext) << int(HelpPageKind::Topic) << "0x20066";
    QTest::newRow("about box context shows its topic")
        << kTwoTopics << qulonglong(kAboutContext) << int(HelpPageKind::Topic) << "0x20064";
    QTest::newRow("unknown context shows the contents")
        << kTwoTopics << qulonglong(0x20065) << int(HelpPageKind::Contents) << "";
    QTest::newRow("id in upper case in the file still matches")
        << "<section id=\"0X2006A\"><h1>T</h1></section>" << qulonglong(0x2006A)
        << int(HelpPageKind::Topic) << "0X2006A";
    QTest::newRow("first of two equal ids counts")
        << "<section id=\"0x1\"><h1>A</h1></section><section id=\"0x1\"><h1>B</h1></section>"
        << qulonglong(1) << int(HelpPageKind::Topic) << "0x1";
    QTest::newRow("file without topics gives a message")
        << "<p>none</p>" << qulonglong(kMainContext) << int(HelpPageKind::Message) << "";
    // Markup the text browser would crash on or take minutes over is refused before it. The
    // page around a topic adds two open elements (html, body) and five elements in all.
    QTest::newRow("elements nested to the depth bound are shown")
        << Topic(Repeated("<div>", 62)) << qulonglong(1) << int(HelpPageKind::Topic) << "0x1";
    QTest::newRow("elements nested beyond the depth bound give a message")
        << Topic(Repeated("<div>", 63)) << qulonglong(1) << int(HelpPageKind::Message) << "";
    QTest::newRow("closed elements do not add up to depth")
        << Topic(Repeated("<div>x</div>", 1000)) << qulonglong(1) << int(HelpPageKind::Topic)
        << "0x1";
    QTest::newRow("unclosed paragraphs and list items do not nest")
        << Topic(Repeated("<p>x<ul><li>a<li>b</ul>", 500)) << qulonglong(1)
        << int(HelpPageKind::Topic) << "0x1";
    QTest::newRow("thousands of unclosed headings give a message")
        << Topic(Repeated("<h1>", 65536)) << qulonglong(1) << int(HelpPageKind::Message) << "";
    QTest::newRow("elements up to the bound are shown")
        << Topic(Repeated("<b>x</b> ", 9995)) << qulonglong(1) << int(HelpPageKind::Topic) << "0x1";
    QTest::newRow("more elements than the bound give a message")
        << Topic(Repeated("<b>x</b> ", 9996)) << qulonglong(1) << int(HelpPageKind::Message) << "";
    QTest::newRow("a few nested tables are shown")
        << Topic(Repeated("<table><tr><td>", 6)) << qulonglong(1) << int(HelpPageKind::Topic)
        << "0x1";
    QTest::newRow("2000 nested tables give a message")
        << Topic(Repeated("<table><tr><td>", 2000)) << qulonglong(1) << int(HelpPageKind::Message)
        << "";
    QTest::newRow("16 nested tables give a message")
        << Topic(Repeated("<table><tr><td>", 16)) << qulonglong(1) << int(HelpPageKind::Message)
        << "";
    QTest::newRow("deep markup in the style gives a message")
        << "<style>" + Repeated("<div>", 100) + "</style>" + Topic("x") << qulonglong(1)
        << int(HelpPageKind::Message) << "";
    // A word the layout has to break anywhere costs it time that grows with its square. The
    // heading's "T" ends where the body begins, so each body starts with a blank.
    QTest::newRow("a word at the length bound is shown")
        << Topic("<p> " + Repeated("a", 1000)) << qulonglong(1) << int(HelpPageKind::Topic)
        << "0x1";
    QTest::newRow("a word over the length bound gives a message")
        << Topic("<p> " + Repeated("a", 1001)) << qulonglong(1) << int(HelpPageKind::Message) << "";
    QTest::newRow("a word of 512 KiB gives a message")
        << Topic("<p> " + Repeated("a", 512 * 1024)) << qulonglong(1) << int(HelpPageKind::Message)
        << "";
    QTest::newRow("many words each within the bound are shown")
        << Topic("<p> " + Repeated("a", 999).append(u' ').repeated(200)) << qulonglong(1)
        << int(HelpPageKind::Topic) << "0x1";
    QTest::newRow("a tag inside a word does not break it")
        << Topic("<p> " + Repeated("a", 600) + "<b>" + Repeated("a", 600) + "</b>") << qulonglong(1)
        << int(HelpPageKind::Message) << "";
    QTest::newRow("a no-break space does not break a word")
        << Topic("<p> " + Repeated("a", 600) + QChar(0xA0) + Repeated("a", 600)) << qulonglong(1)
        << int(HelpPageKind::Message) << "";
    QTest::newRow("ideographs break between any two")
        << Topic("<p> " + QString(3000, QChar(0x6F22))) << qulonglong(1) << int(HelpPageKind::Topic)
        << "0x1";
    QTest::newRow("the style's text is no word")
        << "<style>" + Repeated("a", 5000) + "</style>" + Topic("x") << qulonglong(1)
        << int(HelpPageKind::Topic) << "0x1";
}

void HelpDocumentTest::choosesPageForContext() {
    QFETCH(QString, html);
    QFETCH(qulonglong, context);
    QFETCH(int, kind);
    QFETCH(QString, id);
    const HelpDocument document = ParseHelpDocument(QStringLiteral("/x/demo.HLP"), html);
    const HelpPage page = PageForContext(document, static_cast<unsigned long>(context));
    QCOMPARE(int(page.kind), kind);
    QCOMPARE(page.id, id);
    QVERIFY(!page.html.isEmpty());
}

void HelpDocumentTest::topicPageHoldsOnlyItsSection() {
    const HelpDocument document = ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kTwoTopics);
    const HelpPage about = PageForContext(document, kAboutContext);
    QCOMPARE(about.title, QStringLiteral("About"));
    QVERIFY(about.html.contains(QStringLiteral("about text")));
    QVERIFY(!about.html.contains(QStringLiteral("main text")));
}

void HelpDocumentTest::contentsLinksEveryTopic() {
    const HelpDocument document = ParseHelpDocument(QStringLiteral("/x/demo.HLP"), kTwoTopics);
    const HelpPage page = PageForContext(document, 0x12345);
    QVERIFY(page.html.contains(QStringLiteral("0x12345")));
    QVERIFY(page.html.contains(QStringLiteral("<a href=\"#0x20066\">Main</a>")));
    QVERIFY(page.html.contains(QStringLiteral("<a href=\"#0x20064\">About</a>")));
    QCOMPARE(int(PageForId(document, QStringLiteral("0x20064")).kind), int(HelpPageKind::Topic));
}

void HelpDocumentTest::unreadableFileNamesTheFile_data() {
    QtTestRows<QString> table({"name"});
    table.Add({
        {"missing file", "missing.HLP"},
        {"a folder in its place", "folder.HLP"},
        {"a FIFO, which would block", "fifo.HLP"},
        {"a device of endless bytes", "/dev/zero"},
        {"a file over the size bound", "large.HLP"},
    });
}

void HelpDocumentTest::unreadableFileNamesTheFile() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.HLP")));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.HLP"))), 0600) == 0);
    QFile large(dir.filePath(QStringLiteral("large.HLP")));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(16 * 1024 * 1024 + 1));
    large.close();
    const QString path = QDir(dir.path()).filePath(name);
    const HelpDocument document = LoadHelpDocument(path);
    QVERIFY(!document.error.isEmpty());
    for (const unsigned long context : {kMainContext, 0x1ul}) {
        const HelpPage page = PageForContext(document, context);
        QCOMPARE(int(page.kind), int(HelpPageKind::Message));
        QVERIFY2(page.html.contains(path.toHtmlEscaped()), qPrintable(page.html));
    }
    QCOMPARE(int(ContentsPage(document, QString()).kind), int(HelpPageKind::Message));
}

// Each row names a resource, as a page's <img src> or style sheet link would, from the page of a
// help file in a folder that holds, besides it: picture.png, sub/picture.png, style.css,
// wide.png (more pixels than a page may show), large.png (more bytes than a page may load), a
// FIFO, a folder, and a link to a picture outside the folder, beside which outside.png lies.
void HelpDocumentTest::pageLoadsOnlyFromItsFile_data() {
    QtTestRows<QString, int, bool> table({"name", "type", "loads"});
    const int image = QTextDocument::ImageResource;
    const int style = QTextDocument::StyleSheetResource;
    table.Add({
        {"a picture beside the file", "picture.png", image, true},
        {"a picture in a folder below", "sub/picture.png", image, true},
        {"a picture by its absolute path", "@/picture.png", image, true},
        {"a picture by its file URL", "file://@/picture.png", image, true},
        {"a picture written into the file", "data:image/png;base64,%1", image, true},
        {"a style sheet beside the file", "style.css", style, true},
        {"a device of endless bytes", "/dev/zero", image, false},
        {"a device by its file URL", "file:///dev/zero", image, false},
        {"a device as a style sheet", "/dev/zero", style, false},
        {"a FIFO beside the file, which would block", "fifo.png", image, false},
        {"a FIFO by its absolute path", "@/fifo.png", image, false},
        {"a folder", "folder", image, false},
        {"a picture outside the folder", "../outside.png", image, false},
        {"a link to a picture outside the folder", "link.png", image, false},
        {"a file larger than a page may load", "large.png", image, false},
        {"a picture of more pixels than a page may show", "wide.png", image, false},
        {"a web address", "http://example.org/picture.png", image, false},
        {"a missing file", "missing.png", image, false},
    });
}

void HelpDocumentTest::pageLoadsOnlyFromItsFile() {
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(bool, loads);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir outside(root.path());
    QVERIFY(outside.mkpath(QStringLiteral("help/sub")) &&
            outside.mkpath(QStringLiteral("help/folder")));
    const QDir dir(outside.filePath(QStringLiteral("help")));
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) &&
            QImage(4, 3, QImage::Format_RGB32).save(&buffer, "PNG"));
    for (const QString& picture : {dir.filePath(QStringLiteral("picture.png")),
                                   dir.filePath(QStringLiteral("sub/picture.png")),
                                   outside.filePath(QStringLiteral("outside.png"))}) {
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
    }
    QFile css(dir.filePath(QStringLiteral("style.css")));
    QVERIFY(css.open(QIODevice::WriteOnly) && css.write("p { color: red; }") > 0);
    css.close();
    QImage wide(HelpResources::kMaxPagePixels / 1000 + 1, 1000, QImage::Format_Mono);
    wide.fill(0);
    QVERIFY(wide.save(dir.filePath(QStringLiteral("wide.png"))));
    QFile large(dir.filePath(QStringLiteral("large.png")));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(HelpResources::kMaxPageBytes + 1));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.png"))), 0600) == 0);
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("outside.png")),
                        dir.filePath(QStringLiteral("link.png"))));
    const QString url = name.replace(u'@', dir.path())
                            .replace(QStringLiteral("%1"), QString::fromLatin1(png.toBase64()));
    // An image is shown in the page and drawn, as the browser loads it, and as the toolkit
    // would look for it itself if the browser loaded nothing.
    const QString image = QStringLiteral("<p><img src=\"%1\"></p>").arg(url.toHtmlEscaped());
    HelpViewerWindow window(ParseHelpDocument(
        dir.filePath(QStringLiteral("demo.HLP")),
        Topic(type == QTextDocument::ImageResource ? image : QStringLiteral("x"))));
    window.ShowContext(1);
    window.Browser()->viewport()->grab();
    const QVariant loaded = window.Browser()->document()->resource(type, QUrl(url));
    QCOMPARE(loaded.typeId() == QMetaType::QImage ? loaded.value<QImage>().size() == QSize(4, 3)
                                                  : !loaded.toByteArray().isEmpty(),
             loads);
}

void HelpDocumentTest::fileWithoutTopicsSaysSo() {
    const HelpDocument document =
        ParseHelpDocument(QStringLiteral("/x/<empty>.HLP"), QStringLiteral("<p>x</p>"));
    const HelpPage page = PageForContext(document, kMainContext);
    QVERIFY(page.html.contains(QStringLiteral("/x/&lt;empty&gt;.HLP")));
    QVERIFY(page.html.contains(QStringLiteral("no help topics")));
}

void HelpDocumentTest::shippedFileHasTheDialogTopics_data() {
    QtTestRows<qulonglong, QString> table({"context", "title"});
    table.Add({
        {"main dialog", kMainContext, "Calculating with Tarvin"},
        {"about box", kAboutContext, "About Tarvin"},
    });
}

void HelpDocumentTest::shippedFileHasTheDialogTopics() {
    QFETCH(qulonglong, context);
    QFETCH(QString, title);
    const HelpDocument document = LoadHelpDocument(QStringLiteral(TARVIN_SHIPPED_HELP_FILE));
    QVERIFY2(document.error.isEmpty(), qPrintable(document.error));
    QCOMPARE(document.topics.size(), std::size_t(2));
    const HelpPage page = PageForContext(document, static_cast<unsigned long>(context));
    QCOMPARE(int(page.kind), int(HelpPageKind::Topic));
    QCOMPARE(page.title, title);
    QVERIFY2(!page.html.contains(QLatin1Char('@')), "a placeholder was left unfilled");
}

// Each row is something a newcomer must find in the main topic.
void HelpDocumentTest::mainTopicExplainsTheLanguage_data() {
    QTest::addColumn<QString>("text");
    for (const char* function : {"abs(x)", "acos(x)", "asin(x)", "atg(x)", "cos(x)", "ena(x)",
                                 "kor(x)", "ln(x)", "log(x)", "sin(x)", "tg(x)"})
        QTest::newRow(function) << QString::fromLatin1(function);
    for (const char* assignment : {"x+=r", "x-=r", "x*=r", "x/=r", "x^=r"})
        QTest::newRow(assignment) << QString::fromLatin1(assignment);
    QTest::newRow("bare expression goes to ans") << "ans=2*3";
    QTest::newRow("remainder") << "7%3";
    QTest::newRow("whole-number division") << "7\\2";
    QTest::newRow("command var") << "<code>var</code>";
    QTest::newRow("command clear") << "<code>clear</code>";
    QTest::newRow("command brisi") << "<code>brisi</code>";
    QTest::newRow("error") << "\"Error\"";
    QTest::newRow("archive") << "The archive";
    QTest::newRow("variables pane") << "The variables pane";
}

void HelpDocumentTest::mainTopicExplainsTheLanguage() {
    QFETCH(QString, text);
    const HelpDocument document = LoadHelpDocument(QStringLiteral(TARVIN_SHIPPED_HELP_FILE));
    const HelpPage page = PageForContext(document, kMainContext);
    QVERIFY2(page.html.contains(text), qPrintable(text));
}

QTEST_MAIN(HelpDocumentTest)
#include "HelpDocumentTest.moc"
