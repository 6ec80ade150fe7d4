// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for what the help viewer hands its text browser: the input, read as UTF-8,
// is the markup of one topic, set in a help file of that one topic. Its page is built as the
// viewer builds it and laid out in a text document as the browser lays it out. Then:
// - the layout ends in good time (libFuzzer's -timeout) and without a crash, whatever the
//   markup: markup beyond the viewer's bounds gives a message page instead of the topic;
// - a page shown as the topic is within those bounds, and one refused names the topic.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "HelpDocument.h"
#include "HelpFuzzSupport.h"
#include "HelpMarkup.h"
#include "HelpPages.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kPath = QStringLiteral("fuzz.HLP");
constexpr unsigned long kContext = 1;
constexpr qreal kPageWidth = 540;

[[noreturn]] void Violation(const char* promise) {
    std::fprintf(stderr, "help page fuzzer: %s\n", promise);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString markup = InputText(data, size);
    const QString file = QStringLiteral("<section id=\"0x1\">") + markup;
    const HelpDocument document = ParseHelpDocument(kPath, file);
    if (document.topics.empty())
        return 0; // the markup ended the section's start tag inside a quote: no topic
    const HelpPage page = PageForContext(document, kContext);
    const bool withinBounds = MarkupBeyondBounds(page.html).isEmpty();
    if (page.kind == HelpPageKind::Topic && !withinBounds)
        Violation("a page beyond the markup bounds would be shown");
    if (page.kind == HelpPageKind::Message && !page.html.contains(QStringLiteral("0x1")))
        Violation("a refused topic is not named");
    QTextDocument layout;
    layout.setHtml(page.html);
    layout.setTextWidth(kPageWidth);
    if (layout.size().width() <= 0)
        Violation("a page was laid out to nothing");
    return 0;
}
