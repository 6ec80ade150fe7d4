// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the match list that Tab hands the line editor. The input's first byte
// tells whether the word starts the line (its lowest bit); the rest is cut at the line feeds:
// the first piece is the word to complete, every other piece a line run by one fresh engine
// first, so the memory holds whatever names the lines made. The list is checked against a
// model that tries every name the calculator knows, one by one:
// - no list exactly when no name begins with the word;
// - for one name, the name and then null;
// - for several, the longest text they all begin with, then each name once in byte order, then
//   null;
// - the engine's memory is as it was.
// The first broken promise aborts the run, so libFuzzer saves the input; AddressSanitizer
// watches every entry read, up to the closing null.

#include "Completion.h"
#include "ExpressionEngine.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Violation(const char* promise, const std::string& word) {
    std::fprintf(stderr, "completion fuzzer: %s\n  word: \"%s\"\n", promise, word.c_str());
    std::abort();
}

// Every name the calculator knows that begins with word, sorted, each once.
std::vector<std::string> ModelNames(const ExpressionEngine& engine, std::string_view word,
                                    bool lineStart) {
    std::vector<std::string> known;
    for (const VariableNode* node = engine.variables; node != nullptr; node = node->next)
        known.emplace_back(node->name);
    for (int code = kFirstFunction; code <= kLastFunction; ++code)
        known.push_back(std::string(ExpressionEngine::FunctionName(code)) + "(");
    for (int i = 0; lineStart && ExpressionEngine::CommandWordAt(i) != nullptr; ++i)
        known.emplace_back(ExpressionEngine::CommandWordAt(i)->word);
    std::vector<std::string> names;
    for (const std::string& name : known)
        if (std::string_view(name).substr(0, word.size()) == word)
            names.push_back(name);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// The list the model expects, without its closing null.
std::vector<std::string> ModelList(const std::vector<std::string>& names) {
    if (names.size() < 2)
        return names;
    std::string shared = names.front();
    for (const std::string& name : names) {
        size_t same = 0;
        while (same < shared.size() && same < name.size() && shared[same] == name[same])
            ++same;
        shared.resize(same);
    }
    std::vector<std::string> list{shared};
    list.insert(list.end(), names.begin(), names.end());
    return list;
}

// The entries before the list's null, freed as the editor frees them.
std::vector<std::string> TakeEntries(char** list) {
    std::vector<std::string> entries;
    for (char** entry = list; list != nullptr && *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
        std::free(*entry);
    }
    std::free(list);
    return entries;
}

// Where the engine writes the help text that a line may ask for, so that it stays out of
// libFuzzer's report; opened once.
FILE* Nowhere() {
    static FILE* const nowhere = std::fopen("/dev/null", "w");
    if (nowhere == nullptr)
        Violation("the test could not open /dev/null", "");
    return nowhere;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool lineStart = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t wordEnd = std::min(text.find('\n'), text.size());
    // The editor hands over the word as C text, which ends at a NUL byte.
    const std::string word(text.substr(0, wordEnd).substr(0, text.find('\0')));
    ExpressionEngine engine;
    engine.messages = nullptr;
    engine.output = Nowhere();
    for (size_t start = wordEnd + 1; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line(text.substr(start, end - start));
        double value = 0;
        engine.Calculate(line.c_str(), &value, nullptr);
        start = end + 1;
    }
    std::string before;
    ExpressionEngine::ListVariables(engine.variables, &before);
    const std::vector<std::string> names = ModelNames(engine, word, lineStart);
    char** list = MatchList(engine, word.c_str(), lineStart);
    if ((list == nullptr) != names.empty())
        Violation("a list exactly when a name matches", word);
    if (TakeEntries(list) != ModelList(names))
        Violation("the list the model expects", word);
    std::string after;
    ExpressionEngine::ListVariables(engine.variables, &after);
    if (after != before)
        Violation("the memory as it was", word);
    return 0;
}
