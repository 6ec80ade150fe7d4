// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// A text of 8-bit characters in the system code page (UTF-8 here), with the
// operations the window layer uses and no others. It holds a std::string, so
// the text may be handed to code that fills a std::string directly.
class CString {
public:
    CString() = default;
    CString(const char* text);
    CString(std::string_view text);
    CString(std::string text);

    CString& operator=(const char* text);
    CString& operator=(std::string_view text);
    CString& operator=(std::string text);
    CString& operator+=(const CString& tail);
    CString& operator+=(const char* tail);
    CString& operator+=(char tail);

    friend CString operator+(const CString& head, const CString& tail);
    friend CString operator+(const CString& head, const char* tail);
    friend CString operator+(const char* head, const CString& tail);

    // Whole-text comparison, byte by byte.
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b);
    int Compare(const char* other) const;

    // Index of the first occurrence of ch, or -1 when the text holds none.
    int Find(char ch) const;

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // The NUL-terminated text, valid until the string next changes.
    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    operator std::string_view() const { return m_text; }

    // A writable buffer of at least minLength characters plus a NUL, holding
    // the current text. ReleaseBuffer ends writing: with -1 the text ends at the
    // first NUL, otherwise it keeps newLength characters.
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    // Replaces the text by one double formatted with a printf format that holds
    // exactly one floating-point conversion (such as "%g"). Returns false and
    // leaves the text unchanged for any other format.
    bool Format(const char* format, double value);

    // Replaces the text by string id of the program's string table. Returns
    // false, leaving the text unchanged, when the table has no such string.
    bool LoadString(unsigned id);

    // The text itself, for code that writes a std::string.
    std::string& Text() { return m_text; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
