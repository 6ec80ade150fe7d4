// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The expression engine turns one line of text into a status, the value of the statement's
// target and a listing of the variable memory. A line goes through five stages, each a group
// of static operations below that works only on the lists handed to it: the lexer (NextToken)
// scans one token at a time; the line reader (ReadLine) strings the tokens into a doubly
// linked list or recognises a command word; the statement check (CheckStatement) validates the
// list, binds function names and drops a leading "+"; the evaluator (Evaluate) computes the
// right side by precedence on a small stack; the assignment (ExecuteAssignment) stores it in
// the variable memory, a singly linked list kept in name order. Calculate runs the stages for
// one line and owns both lists: the token list for the duration of the call, the variables for
// the life of the engine. Nesting of groups and function arguments is bounded by kMaxNesting,
// and an allocation failure fails the line without changing the memory.
//
// Every operation that allocates or releases nodes takes the engine's NodePool last; Calculate
// passes its own, so nodes are reused from line to line, and through it the index of the
// variables, so that no lookup walks the list. Called without one (null), the operations use
// the heap for every node, as each node is a heap block either way, and walk the list.

#include "EngineRecords.h"
#include "NodePool.h"
#include "TokenModel.h"
#include "VariableIndex.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Deepest nesting of parenthesised groups and function arguments that a line may hold.
constexpr int kMaxNesting = 256;

// What Calculate answers for a line: a statement was executed; no statement was (the line was
// rejected, stopped at a lexical error or ran out of memory, or was the quit command); or one
// of the commands that the caller carries out, answered with its word's ReadStatus.
constexpr int kStatementExecuted = 0;
constexpr int kNoStatement = -1;
constexpr int kHelpCommand = RS_HELP;
constexpr int kListCommand = RS_LIST;
constexpr int kClearCommand = RS_CLEAR;

// A command word and the ReadStatus it gives.
struct CommandWord {
    const char* word;
    int status;
};

// ORDER FAILURE: why Calculate ran no statement for a line, each found by the stage named
// above its group at the token or character it concerns. The console's phrases
// (FailureText.cpp) follow it.
enum FailureReason {
    FR_NONE, // a statement ran, or a command other than quit
    // The lexer, at the token that stopped it.
    FR_STRAY_CHARACTER, // a character that starts no token
    FR_UNDERSCORES,     // a name made of underscores only
    FR_TOKEN_TOO_LONG,  // a token longer than kMaxTokenLength
    // The line reader, at the first token.
    FR_COMMAND_WORD, // the line begins with a word that quits
    // The statement check, at the token that does not fit, or past the last token.
    FR_NO_TARGET,               // the line does not begin with a name
    FR_NO_ASSIGNMENT,           // no assignment operator after the target
    FR_COMPARISON_START,        // a comparison after the target
    FR_EMPTY_RIGHT_SIDE,        // nothing after the assignment operator, which it points at
    FR_VALUE_EXPECTED,          // an operator, a ")" or the end where a value belongs
    FR_SIGN_NEEDS_BRACKETS,     // a sign after an operator or a sign
    FR_OPERATOR_EXPECTED,       // a value where an operator belongs
    FR_STRING_VALUE,            // a string constant in the expression
    FR_UNCLOSED,                // a "(" that no ")" closes, which it points at
    FR_UNEXPECTED_CLOSE,        // a ")" with no "(" open
    FR_TEXT_AFTER_END,          // a token that cannot follow a complete expression
    FR_FUNCTION_NEEDS_BRACKETS, // a function's name followed by a value, at the name
    FR_NOT_A_FUNCTION,          // a name before "(" that names no function, at the name
    FR_TOO_DEEP,                // groups nested deeper than kMaxNesting, at the "(" too deep
    // Calculate itself.
    FR_NOT_SET,       // a read of a name the memory does not hold, where such reads are refused
    FR_OUT_OF_MEMORY, // memory ran out; the offset means nothing
    FAILURE_REASON_COUNT
};

// What a statement's read of a name that the memory does not hold does: read 0 and create the
// name, as the language says; the same, with each such read noted in the report; or fail the
// line with FR_NOT_SET before anything of it is evaluated, so that it changes nothing.
enum UnsetReads { UNSET_READ_AS_ZERO, UNSET_NOTED, UNSET_REFUSED };

// What became of a line beyond Calculate's answer, for a caller that must tell failures apart.
// The stage that rejects a line fills it in; a line that runs costs it nothing.
struct LineReport {
    // Why no statement ran (FailureReason), and the byte offset in the line of the token or
    // character concerned: where it begins, or just past the last token when the line ended
    // where more was needed.
    int failure = FR_NONE;
    std::size_t offset = 0;
    // With UNSET_NOTED, the offset of each read of a name that the memory did not hold, in the
    // order of the line.
    std::vector<std::size_t> unsetReads;
};

class ExpressionEngine {
public:
    TokenNode* tokens;
    VariableNode* variables;
    // Spare nodes and live counts of this engine's lists.
    NodePool pool;
    // Finds the variables by name and place; the pool points to it.
    VariableIndex index;
    // Where Calculate has the line reader write its lexical-error banner; null for nowhere.
    FILE* messages = stdout;
    // Where Calculate has the line reader write the help text.
    FILE* output = stdout;
    // What a statement's read of a name the memory does not hold does (UnsetReads).
    int unsetReads = UNSET_READ_AS_ZERO;

    ExpressionEngine();
    ~ExpressionEngine();
    ExpressionEngine(const ExpressionEngine&) = delete;
    ExpressionEngine& operator=(const ExpressionEngine&) = delete;

    // Runs one line and answers with one of the results above; after kStatementExecuted the
    // target's value is written to *result, and after kClearCommand the memory is empty. The
    // listing (when not null) receives one "name = value\r\n" line per variable, in name order.
    int Calculate(const char* line, double* result, std::string* listing);
    // The same, and fills report in for the line.
    int Calculate(const char* line, double* result, std::string* listing, LineReport& report);

    // Token model.
    static void FreeList(TokenNode*& head, NodePool* pool = nullptr);
    static void FreeList(VariableNode*& head, NodePool* pool = nullptr);
    static void FreeList(StackEntry*& head, NodePool* pool = nullptr);
    static void FreeSpares(NodePool& pool);
    static const char* TokenName(int code);

    // Lexer. Scans one token from position, advancing it, writes its text (NUL-terminated)
    // and sets code (0 to 35). A token longer than kMaxTokenLength characters yields GRESKA:
    // text then holds its first kMaxTokenLength characters and position stands after the
    // whole token. Nothing is written past the buffer, whatever the line holds.
    static void NextToken(const char*& position, char (&text)[kTokenBufferSize], int& code);
    // The position past the white space that NextToken skips before a token.
    static const char* SkipWhiteSpace(const char* position);
    // Why the lexer gave GRESKA for the token that begins at start and left the read position
    // at end: FR_STRAY_CHARACTER, FR_UNDERSCORES or FR_TOKEN_TOO_LONG.
    static int LexicalFailure(const char* start, const char* end);
    // The offset just past the last token of line: its length less the white space that ends it.
    static std::size_t EndOfTokens(const char* line);

    // Line reader and command words.
    // A lexical error writes the error banner to messages, unless it is null, and its reason
    // and offset to report, unless it is null; the help command writes its text to output.
    static TokenNode* ReadLine(const char* line, int& status, NodePool* pool = nullptr,
                               FILE* messages = stdout, FILE* output = stdout,
                               LineReport* report = nullptr);
    // True when text is one of the seven command words; status then gets its ReadStatus.
    // On false, status is left unchanged.
    static bool FindCommandWord(const char* text, int& status);
    // False when no command word begins with that character.
    static bool MayBeginCommandWord(char first);
    // The command words in the engine's order, from index 0 up; null past the last.
    static const CommandWord* CommandWordAt(int index);
    static void PrintHelp(FILE* out = stdout);
    static void DumpTokens(TokenNode* head);

    // Statement check. depth counts the groups and arguments around the expression. On false,
    // failure gets the reason (FailureReason) and at, or the cursor, the token it concerns,
    // null for the end of the line; on true neither is written.
    static bool CheckStatement(TokenNode* first, NodePool* pool = nullptr);
    static bool CheckStatement(TokenNode* first, NodePool* pool, int& failure, TokenNode*& at);
    static bool CheckExpression(TokenNode*& cursor, bool nested, int depth, NodePool* pool,
                                int& failure);

    // Functions (Functions.cpp). LookupFunction finds a function by its name; FunctionName
    // gives the name of a function's code, from kFirstFunction to kLastFunction, and null for
    // any other code; ApplyFunction computes a function, and gives NaN for any other code.
    static bool LookupFunction(const char* text, int& code);
    static const char* FunctionName(int code);
    static double ApplyFunction(int code, double x);

    // Variable store. Names longer than kMaxNameLength are never stored. The operations that
    // take a pool keep the pool's index, when it has one, in step with the list and search
    // through it; FindVariable does so when given the index. Without one they walk the list.
    static bool FindVariable(const char* name, VariableNode*& cursor,
                             const VariableIndex* index = nullptr);
    static void InsertVariable(VariableNode*& head, VariableNode* before, const char* name,
                               double value, NodePool* pool = nullptr);
    static void SetVariable(VariableNode*& head, const char* name, double value,
                            NodePool* pool = nullptr);
    static double GetVariable(const char* name, VariableNode*& head, NodePool* pool = nullptr);
    static void ListVariables(VariableNode* first, std::string* target);

    // Evaluator. depth counts the groups and arguments around the expression. ApplyOperator
    // computes a binary operator, and the new value of a target for an assignment operator.
    static double ApplyOperator(int code, double left, double right);
    static double Evaluate(TokenNode*& cursor, VariableNode*& variables, bool nested, int depth,
                           NodePool* pool = nullptr);
    static void PushOperator(StackEntry*& stack, double value, int code, NodePool* pool = nullptr);
    static bool HasPrecedence(StackEntry* top, int code);

    // Statement execution.
    static void ExecuteAssignment(TokenNode* first, VariableNode*& variables,
                                  NodePool* pool = nullptr);
    // The same, answering with the value stored in the target.
    static double Assign(TokenNode* first, VariableNode*& variables, NodePool* pool = nullptr);

private:
    // Every node of the engine is allocated and released through these (NodeAllocation.h).
    template <typename Node> static Node* NewNode(NodePool* pool);
    template <typename Node> static void ReleaseNode(Node* node, NodePool* pool);
    template <typename Node> static void ReleaseList(Node*& head, NodePool* pool);

    static TokenNode* AppendToken(TokenNode* last, int code, const char* text, const char* scan,
                                  NodePool* pool);
    static TokenNode* ReadToken(TokenNode* last, const char*& position,
                                char (&text)[kTokenBufferSize], int& code, NodePool* pool);
    static void RemoveLeadingPlus(TokenNode*& cursor, NodePool* pool);
    static void RemoveVariable(VariableNode*& head, const char* name, NodePool* pool);
    static void PopEntry(StackEntry*& stack, NodePool* pool);
    // Notes and undoes what a line changes in the variable memory (ExpressionEngine.cpp).
    friend struct LineUndo;
};
