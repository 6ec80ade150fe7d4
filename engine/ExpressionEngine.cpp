// SPDX-License-Identifier: GPL-3.0-or-later
// The engine entry: runs one line from reading to listing, and performs the assignment.

#include "ExpressionEngine.h"

#include <cstring>
#include <new>

// What a statement may change in the variable memory, so that a line that runs out of memory
// halfway leaves the memory as it was. A statement changes only its target's value and
// creates variables; the target's old value is noted before the statement runs, and every
// variable created is recorded by InsertVariable in the pool as it comes into being.
struct LineUndo {
    // Whether the target's old value must be noted. Once the target holds its new value, the
    // statement has nothing left that can fail; only the listing, built after it, can. A line
    // run without a listing thus never fails with a changed target, and notes nothing.
    bool noteTarget = true;
    const char* target = nullptr;
    bool targetExisted = false;
    double targetValue = 0.0;

    void Note(const TokenNode* first, VariableNode* variables, const VariableIndex* index);
    void Restore(VariableNode*& variables, NodePool& pool) const;
};

// Finds the target only; it allocates nothing, so it cannot fail.
void LineUndo::Note(const TokenNode* first, VariableNode* variables, const VariableIndex* index) {
    if (!noteTarget)
        return;
    VariableNode* cursor = variables;
    target = first->text;
    targetExisted = ExpressionEngine::FindVariable(target, cursor, index);
    targetValue = targetExisted ? cursor->value : 0.0;
}

// Puts back the target's old value and removes the variables the line created; allocates
// nothing, since the target, when it existed, is still there.
void LineUndo::Restore(VariableNode*& variables, NodePool& pool) const {
    if (target != nullptr && targetExisted)
        ExpressionEngine::SetVariable(variables, target, targetValue, &pool);
    for (VariableNode* created : pool.createdVariables)
        if (created != nullptr)
            ExpressionEngine::RemoveVariable(variables, created->name, &pool);
    pool.createdVariables.clear();
}

namespace {

// Where the token begins in the line: past the white space where its scan began.
std::size_t TokenStart(const char* line, const TokenNode* token) {
    return static_cast<std::size_t>(ExpressionEngine::SkipWhiteSpace(token->scan) - line);
}

// Asks for the index's slots of all the line's variables before the statement looks them up
// one by one.
void PrefetchVariables(const TokenNode* first, const VariableIndex& index) {
    if (!IndexBeyondCaches(index))
        return;
    for (const TokenNode* token = first; token != nullptr; token = token->next)
        if (token->code == VARIJABLA)
            IndexPrefetch(index, token->text);
}

// Looks, before anything is evaluated, for the reads of the checked statement of names that the
// memory does not hold: the variables of the right side, whose function names the check has
// bound, and the target of a compound assignment. Refused, the first fails the line; noted,
// each goes into the report.
bool CheckUnsetReads(const ExpressionEngine& engine, const char* line, LineReport& report) {
    const TokenNode* first = engine.tokens;
    const bool targetRead = first->next->code != JEDNAKO;
    for (const TokenNode* token = targetRead ? first : first->next; token != nullptr;
         token = token->next) {
        VariableNode* cursor = engine.variables;
        if (token->code != VARIJABLA ||
            ExpressionEngine::FindVariable(token->text, cursor, &engine.index))
            continue;
        const std::size_t offset = TokenStart(line, token);
        if (engine.unsetReads == UNSET_REFUSED) {
            report.failure = FR_NOT_SET;
            report.offset = offset;
            return false;
        }
        report.unsetReads.push_back(offset);
    }
    return true;
}

int RunStatement(ExpressionEngine& engine, const char* line, LineUndo& undo, double& value,
                 LineReport& report) {
    NodePool* pool = &engine.pool;
    if (engine.tokens == nullptr)
        return kNoStatement;
    TokenNode* at = nullptr;
    if (!ExpressionEngine::CheckStatement(engine.tokens, pool, report.failure, at)) {
        report.offset = at != nullptr ? TokenStart(line, at) : ExpressionEngine::EndOfTokens(line);
        return kNoStatement;
    }
    if (engine.unsetReads != UNSET_READ_AS_ZERO && !CheckUnsetReads(engine, line, report))
        return kNoStatement;
    PrefetchVariables(engine.tokens, engine.index);
    undo.Note(engine.tokens, engine.variables, pool->index);
    value = ExpressionEngine::Assign(engine.tokens, engine.variables, pool);
    return kStatementExecuted;
}

// A quit word is no statement; it is reported where the word begins.
int RefuseQuit(const char* line, LineReport& report) {
    report.failure = FR_COMMAND_WORD;
    report.offset = static_cast<std::size_t>(ExpressionEngine::SkipWhiteSpace(line) - line);
    return kNoStatement;
}

// Reads the line and acts on its status; the tokens stay in engine.tokens for the caller.
// A statement whose reading left no tokens stopped at a lexical error.
int RunLine(ExpressionEngine& engine, const char* line, LineUndo& undo, double& value,
            LineReport& report) {
    int status = RS_STATEMENT;
    engine.tokens = ExpressionEngine::ReadLine(line, status, &engine.pool, engine.messages,
                                               engine.output, &report);
    switch (static_cast<ReadStatus>(status)) {
    case RS_QUIT:
        return RefuseQuit(line, report);
    case RS_HELP:
        return kHelpCommand;
    case RS_LIST:
        return kListCommand;
    case RS_CLEAR:
        ExpressionEngine::FreeList(engine.variables, &engine.pool);
        return kClearCommand;
    case RS_STATEMENT:
        break;
    }
    return RunStatement(engine, line, undo, value, report);
}

// After a failed line the listing is rebuilt if memory allows; otherwise it stays as it was.
void ListAfterFailure(VariableNode* variables, std::string* listing) {
    try {
        ExpressionEngine::ListVariables(variables, listing);
    } catch (const std::bad_alloc&) {
    }
}

} // namespace

ExpressionEngine::ExpressionEngine() : tokens(nullptr), variables(nullptr) {
    pool.index = &index;
}

ExpressionEngine::~ExpressionEngine() {
    FreeList(tokens, &pool);
    FreeList(variables, &pool);
    FreeSpares(pool);
}

int ExpressionEngine::Calculate(const char* line, double* result, std::string* listing) {
    LineReport report;
    return Calculate(line, result, listing, report);
}

int ExpressionEngine::Calculate(const char* line, double* result, std::string* listing,
                                LineReport& report) {
    report.failure = FR_NONE;
    report.offset = 0;
    report.unsetReads.clear();
    tokens = nullptr;
    pool.createdVariables.clear();
    LineUndo undo;
    undo.noteTarget = listing != nullptr;
    double value = 0.0;
    int outcome = kNoStatement;
    try {
        outcome = RunLine(*this, line, undo, value, report);
        ListVariables(variables, listing);
    } catch (const std::bad_alloc&) {
        undo.Restore(variables, pool);
        outcome = kNoStatement;
        report.failure = FR_OUT_OF_MEMORY;
        report.offset = 0;
        ListAfterFailure(variables, listing);
    }
    FreeList(tokens, &pool);
    if (outcome == kStatementExecuted && result != nullptr)
        *result = value;
    return outcome;
}

// Stores the value of the right side in the target, combined with the target's old value
// for the compound operators.
void ExpressionEngine::ExecuteAssignment(TokenNode* first, VariableNode*& variables,
                                         NodePool* pool) {
    Assign(first, variables, pool);
}

// The assignment, answering with the value stored, so that the caller need not find the
// target again to show it. A target too long for a name is left unstored, and reads as 0.
double ExpressionEngine::Assign(TokenNode* first, VariableNode*& variables, NodePool* pool) {
    char name[kNameSize];
    const std::size_t length = std::strlen(first->text);
    if (length > kMaxNameLength)
        return 0.0;
    std::memcpy(name, first->text, length + 1);
    const int assignment = first->next->code;
    TokenNode* cursor = first->next->next;
    double value = 0.0;
    if (assignment == JEDNAKO) {
        value = Evaluate(cursor, variables, false, 0, pool);
    } else {
        const double target = GetVariable(name, variables, pool);
        value = ApplyOperator(assignment, target, Evaluate(cursor, variables, false, 0, pool));
    }
    SetVariable(variables, name, value, pool);
    return value;
}
