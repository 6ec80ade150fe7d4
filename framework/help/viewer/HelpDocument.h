// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

// A help file is UTF-8 HTML. Each topic is a <section> element whose id is its
// help context in lower-case hexadecimal with a leading "0x" (context 0x20066
// has the id "0x20066"); sections are not nested. A topic's title is the text
// of its first <h1>. The file's <title> names the viewer window, and one
// <style> element applies to every topic. Comments and everything outside the
// sections are ignored, so the whole file also reads well in any web browser.

struct HelpTopic {
    QString id;    // the help context as written in the file
    QString title; // plain text of the first <h1>, or the id when there is none
    QString body;  // the HTML between the section's tags
};

struct HelpDocument {
    QString path;                  // the file as it was asked for
    QString error;                 // why the file could not be read; empty when it was read
    QString title;                 // plain text of <title>, or empty
    QString style;                 // the content of the <style> element, or empty
    std::vector<HelpTopic> topics; // in file order; the first of equal ids counts
};

// The id that a help context's topic carries.
QString TopicIdForContext(unsigned long context);

// Reads and parses the help file; a file that cannot be read gives a document
// whose error says why.
HelpDocument LoadHelpDocument(const QString& path);

// Parses the text of a help file that was read from the path.
HelpDocument ParseHelpDocument(const QString& path, const QString& html);

// Markup as plain text, blanks simplified; markup beyond what the viewer shows (HelpMarkup.h)
// gives an empty text.
QString HelpPlainText(QStringView html);

// The topic with the id, or nullptr.
const HelpTopic* FindHelpTopic(const HelpDocument& document, const QString& id);
