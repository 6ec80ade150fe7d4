// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpDocument.h"

#include <QUrl>

// What the viewer shows: a topic of the file, the file's contents (the list of
// its topics), the list of the topics that hold a text, or a plain message when
// the file gives nothing to show or a link is refused.
enum class HelpPageKind { Topic, Contents, Search, Message };

struct HelpPage {
    HelpPageKind kind;
    QString id;    // the topic's id; empty for the contents and for a message
    QString title; // shown in the window's caption
    QString html;  // a complete HTML page
};

// The page for a help request: the context's topic; the contents with a note
// when the file has no such topic; a message naming the file when it could
// not be read or holds no topic.
HelpPage PageForContext(const HelpDocument& document, unsigned long context);

// The page a link to "#id" leads to, chosen by the same rules.
HelpPage PageForId(const HelpDocument& document, const QString& id);

// The list of the file's topics, each a link, under an optional note; the
// message page when the file gives nothing to list.
HelpPage ContentsPage(const HelpDocument& document, const QString& note);

// The topics whose text holds the text, in any letter case, listed as the contents are; a
// message page when the file gives nothing to list.
HelpPage SearchPage(const HelpDocument& document, const QString& text);

// Where a link of a page may lead: a link to "#id" opens that topic of the file; an http, https
// or mailto address goes to the desktop's opener; nothing else is followed, so that a help file
// cannot have the desktop open a program or a file.
enum class HelpLinkKind { Topic, Desktop, Refused };
HelpLinkKind KindOfLink(const QUrl& url);

// The page that says that the link was not followed, and why.
HelpPage RefusedLinkPage(const QUrl& url);
