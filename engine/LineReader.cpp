// SPDX-License-Identifier: GPL-3.0-or-later
// The line reader: turns a line into a token list or a command status; and the help text.

#include "ExpressionEngine.h"
#include "NodeAllocation.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Tested in this order; the words are distinct, so the order only sets the comparisons made,
// and the order in which the console's usage text names them.
constexpr CommandWord kCommandWords[] = {
    {"var", RS_LIST},   {"clear", RS_CLEAR}, {"brisi", RS_CLEAR}, {"help", RS_HELP},
    {"pomoc", RS_HELP}, {"kraj", RS_QUIT},   {"quit", RS_QUIT},
};

constexpr char kHelpText[] =
    "Tarvin\n"
    "Program racuna simbolicke izraze. Osim toga program pamti varijable tako da se\n"
    "one mogu koristiti u bilo kom trenutku.\n"
    "Podrzane funkcije:\n"
    "abs(x) = |x|, acos(x) = arccos(x), asin(x) = arcsin(x)\n"
    "atg(x) = arctg(x), ena(x) = e^x, cos(x), sin(x), tg(x)\n"
    "kor(x) = sqrt(x), ln(x), log(x)\n"
    "Kalkulator podrzava sljedece operatore: + - * / ^ % ! & | ~ = += -= /= *= ^=\n"
    "i vodi racuna o prioritetu izvrsavanja matematickih operacija\n"
    "Posebne komande:\n"
    "var   - ispisuje listu varijabli u memoriji\n"
    "kraj  - kraj rada sa programom (ili quit)\n"
    "pomoc - ispisuje pomoc na ekranu, tj ovu poruku (ili help)\n"
    "brisi - brise varijable iz memorije (ili clear)\n"
    "Primjeri:\n"
    ">a=5\n"
    ">b=7.14\n"
    ">c=a+5*b\n"
    ">h=sin(a)+cos(c)*kor(abs(a^2-4*a*c))\n"
    ">var\n"
    ">y=ena(1)\n"
    "Napomena: Izraz uvijek mora poceti sa varijablom i znakom jednakosti!\n";

constexpr char kErrorBanner[] = "\aGRESKA!!!!";

// True when text holds word as a word of its own: after a line end or a blank, before a blank
// or a ")".
constexpr bool HoldsWord(const char* text, const char* word) {
    for (const char* at = text; *at != '\0'; ++at) {
        if (at != text && at[-1] != '\n' && at[-1] != ' ')
            continue;
        int i = 0;
        while (word[i] != '\0' && at[i] == word[i])
            ++i;
        if (word[i] == '\0' && (at[i] == ' ' || at[i] == ')'))
            return true;
    }
    return false;
}

constexpr bool HelpNamesEveryCommandWord() {
    for (const CommandWord& command : kCommandWords)
        if (!HoldsWord(kHelpText, command.word))
            return false;
    return true;
}

static_assert(HelpNamesEveryCommandWord(), "the help text names every command word");

constexpr int kAsciiSize = 128;

// For every ASCII character, whether a command word begins with it; built from the words, so a
// new word is never left out.
constexpr std::array<bool, kAsciiSize> MakeFirstLetters() {
    std::array<bool, kAsciiSize> first{};
    for (const CommandWord& command : kCommandWords)
        first[static_cast<unsigned char>(command.word[0])] = true;
    return first;
}

constexpr std::array<bool, kAsciiSize> kFirstLetters = MakeFirstLetters();

} // namespace

// Most first tokens begin with a letter that begins no command word.
bool ExpressionEngine::MayBeginCommandWord(char first) {
    const auto byte = static_cast<unsigned char>(first);
    return byte < kAsciiSize && kFirstLetters[byte];
}

const CommandWord* ExpressionEngine::CommandWordAt(int index) {
    constexpr int count = sizeof kCommandWords / sizeof kCommandWords[0];
    return index >= 0 && index < count ? &kCommandWords[index] : nullptr;
}

bool ExpressionEngine::FindCommandWord(const char* text, int& status) {
    if (!MayBeginCommandWord(text[0]))
        return false;
    for (const CommandWord& command : kCommandWords) {
        // Most first tokens that share a word's first letter are one-letter names.
        if (command.word[0] == text[0] && command.word[1] == text[1] &&
            std::strcmp(command.word, text) == 0) {
            status = command.status;
            return true;
        }
    }
    return false;
}

void ExpressionEngine::PrintHelp(FILE* out) {
    std::fputs(kHelpText, out);
    std::fflush(out);
}

// A hook that receives every finished list; it does nothing.
void ExpressionEngine::DumpTokens(TokenNode*) {}

namespace {

// Gives a node holding a token's text its code and links it after last (which may be null).
TokenNode* LinkToken(TokenNode* last, TokenNode* node, int code) {
    node->code = static_cast<signed char>(code);
    node->prev = last;
    node->next = nullptr;
    if (last != nullptr)
        last->next = node;
    return node;
}

} // namespace

// Allocates a node for the token and links it after last (which may be null).
TokenNode* ExpressionEngine::AppendToken(TokenNode* last, int code, const char* text,
                                         const char* scan, NodePool* pool) {
    TokenNode* node = NewNode<TokenNode>(pool);
    // Byte by byte up to the NUL: the lexer has just written the text byte by byte, and a
    // wide copy of the whole buffer would wait for those stores to reach memory.
    int i = 0;
    do
        node->text[i] = text[i];
    while (text[i++] != '\0');
    node->scan = scan;
    return LinkToken(last, node, code);
}

// Scans the next token from position and links a node of it after last, unless the token ends
// the reading (GRESKA or EOLN); returns the last node. While the pool holds a spare node the
// token is scanned straight into it, so that its text is not copied, and the spare goes back
// when the token is not kept; otherwise the token goes through the text buffer, so that the
// reader never takes a node from the heap that it does not keep. The node's text field has room
// for the whole buffer. Where the scan begins is noted before it, while it is at hand.
TokenNode* ExpressionEngine::ReadToken(TokenNode* last, const char*& position,
                                       char (&text)[kTokenBufferSize], int& code, NodePool* pool) {
    static_assert(kTokenTextSize >= kTokenBufferSize);
    const char* scan = position;
    if (pool == nullptr || pool->tokens.spares == nullptr) {
        NextToken(position, text, code);
        return code == GRESKA || code == EOLN ? last : AppendToken(last, code, text, scan, pool);
    }
    TokenNode* node = NewNode<TokenNode>(pool);
    node->scan = scan;
    NextToken(position, *reinterpret_cast<char(*)[kTokenBufferSize]>(node->text), code);
    if (code == GRESKA || code == EOLN) {
        ReleaseNode(node, pool);
        return last;
    }
    return LinkToken(last, node, code);
}

namespace {

// Where the scan of the token that stopped the reading began: the scan of the last token kept
// (none: the start of the line) scanned again ends there.
const char* StoppingScan(const char* line, const TokenNode* last) {
    if (last == nullptr)
        return line;
    char text[kTokenBufferSize];
    int code = NEDEF;
    const char* position = last->scan;
    ExpressionEngine::NextToken(position, text, code);
    return position;
}

// Writes what stopped the reading after the token last (null: at the first token), the read
// position left at end: the banner to messages, the reason and the offset to report; either
// may be null.
void ReportLexicalError(const char* line, const TokenNode* last, const char* end, FILE* messages,
                        LineReport* report) {
    if (report != nullptr) {
        const char* start = ExpressionEngine::SkipWhiteSpace(StoppingScan(line, last));
        report->failure = ExpressionEngine::LexicalFailure(start, end);
        report->offset = static_cast<std::size_t>(start - line);
    }
    if (messages != nullptr) {
        std::fputs(kErrorBanner, messages);
        std::fflush(messages);
    }
}

} // namespace

// line: command-word [ anything ] | token { token } EOLN
// A command word as the first token ends the reading at once. A lexical error ends it too,
// is reported and releases the tokens read so far. An empty line gives one EOLN node.
TokenNode* ExpressionEngine::ReadLine(const char* line, int& status, NodePool* pool, FILE* messages,
                                      FILE* output, LineReport* report) {
    char text[kTokenBufferSize];
    int code = NEDEF;
    const char* position = line;
    NextToken(position, text, code);
    if (FindCommandWord(text, status)) {
        if (status == RS_HELP)
            PrintHelp(output);
        return nullptr;
    }
    status = RS_STATEMENT;
    // The first token is kept whatever it is; the head is kept aside, so that neither the end
    // nor a failure walks the list back to find it.
    TokenNode* head = AppendToken(nullptr, code, text, line, pool);
    TokenNode* last = head;
    try {
        while (code != GRESKA && code != EOLN)
            last = ReadToken(last, position, text, code, pool);
    } catch (const std::bad_alloc&) {
        FreeList(head, pool);
        throw;
    }
    DumpTokens(head);
    if (code == GRESKA) {
        ReportLexicalError(line, head->code == GRESKA ? nullptr : last, position, messages, report);
        FreeList(head, pool);
        DumpTokens(head);
    }
    return head;
}
