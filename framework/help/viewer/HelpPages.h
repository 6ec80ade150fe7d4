// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpDocument.h"

// What the viewer shows: a topic of the file, the file's contents (the list of
// its topics), or a plain message when the file gives nothing to show.
enum class HelpPageKind { Topic, Contents, Message };

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
