// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the help viewer's help document: the input is the text of a help file,
// read as UTF-8 as the viewer reads it. After parsing:
// - no topic body holds the start of a section or a section's end tag, since a body ends there;
// - no topic id has blanks at its ends, and a topic's title is its heading or, without one,
//   its id;
// - looking a topic up by its own id finds the first topic of that id, in any letter case;
// - parsing the same text again gives the same document.
// The first broken promise aborts the run, so libFuzzer saves the input.

#include "HelpDocument.h"
#include "HelpFuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kPath = QStringLiteral("fuzz.HLP");

[[noreturn]] void Violation(const char* promise) {
    std::fprintf(stderr, "help document fuzzer: %s\n", promise);
    std::abort();
}

bool IsWordCharacter(QChar character) {
    return character.isLetterOrNumber() || character == u'_';
}

bool StartsWithAt(const QString& body, qsizetype position, const QString& text) {
    return body.mid(position, text.size()).compare(text, Qt::CaseInsensitive) == 0;
}

// True when a section starts at position: "<section" and then no letter, digit or underscore.
bool SectionStartAt(const QString& body, qsizetype position) {
    const QString tag = QStringLiteral("<section");
    const qsizetype after = position + tag.size();
    return StartsWithAt(body, position, tag) &&
           (after >= body.size() || !IsWordCharacter(body[after]));
}

// True when a section's end tag stands at position: "</section", blanks, then ">".
bool SectionEndAt(const QString& body, qsizetype position) {
    const QString tag = QStringLiteral("</section");
    if (!StartsWithAt(body, position, tag))
        return false;
    qsizetype after = position + tag.size();
    while (after < body.size() && QStringView(u" \t\n\v\f\r").contains(body[after]))
        ++after;
    return after < body.size() && body[after] == u'>';
}

void CheckTopic(const HelpDocument& document, const HelpTopic& topic) {
    for (qsizetype at = topic.body.indexOf(u'<'); at >= 0; at = topic.body.indexOf(u'<', at + 1))
        if (SectionStartAt(topic.body, at) || SectionEndAt(topic.body, at))
            Violation("a topic body holds a section's start or end");
    if (topic.id != topic.id.trimmed())
        Violation("a topic id keeps blanks at its ends");
    if (topic.title.isEmpty() && !topic.id.isEmpty())
        Violation("a topic has no title although it has an id");
    const HelpTopic* found = FindHelpTopic(document, topic.id);
    if (found == nullptr || found->id.compare(topic.id, Qt::CaseInsensitive) != 0)
        Violation("looking a topic up by its id does not find it");
    if (found > &topic)
        Violation("looking a topic up finds a later one of the same id");
}

bool SameDocument(const HelpDocument& left, const HelpDocument& right) {
    if (left.title != right.title || left.style != right.style ||
        left.topics.size() != right.topics.size())
        return false;
    for (std::size_t i = 0; i < left.topics.size(); ++i)
        if (left.topics[i].id != right.topics[i].id ||
            left.topics[i].title != right.topics[i].title ||
            left.topics[i].body != right.topics[i].body)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString html = InputText(data, size);
    const HelpDocument document = ParseHelpDocument(kPath, html);
    if (document.path != kPath || !document.error.isEmpty())
        Violation("a parsed document lost its path or reports an error");
    for (const HelpTopic& topic : document.topics)
        CheckTopic(document, topic);
    if (!SameDocument(document, ParseHelpDocument(kPath, html)))
        Violation("parsing the same text twice gives different documents");
    return 0;
}
