// SPDX-License-Identifier: GPL-3.0-or-later
#include "CString.h"

#include "Resources.h"

#include <cstdio>
#include <cstring>

CString::CString(const char* text) : m_text(text ? text : "") {}

CString::CString(std::string_view text) : m_text(text) {}

CString::CString(std::string text) : m_text(std::move(text)) {}

CString& CString::operator=(const char* text) {
    m_text.assign(text ? text : "");
    return *this;
}

CString& CString::operator=(std::string_view text) {
    m_text.assign(text);
    return *this;
}

CString& CString::operator=(std::string text) {
    m_text = std::move(text);
    return *this;
}

CString& CString::operator+=(const CString& tail) {
    m_text.append(tail.m_text);
    return *this;
}

CString& CString::operator+=(const char* tail) {
    m_text.append(tail ? tail : "");
    return *this;
}

CString& CString::operator+=(char tail) {
    m_text.push_back(tail);
    return *this;
}

CString operator+(const CString& head, const CString& tail) {
    return CString(head.m_text + tail.m_text);
}

CString operator+(const CString& head, const char* tail) {
    CString joined(head);
    joined += tail;
    return joined;
}

CString operator+(const char* head, const CString& tail) {
    CString joined(head);
    joined += tail;
    return joined;
}

bool operator==(const CString& a, const char* b) {
    return a.m_text == (b ? b : "");
}

int CString::Compare(const char* other) const {
    return std::strcmp(m_text.c_str(), other ? other : "");
}

int CString::Find(char ch) const {
    std::size_t at = m_text.find(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

char* CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_text.resize(static_cast<std::size_t>(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    if (newLength < GetLength())
        m_text.resize(static_cast<std::size_t>(newLength));
}

namespace {

// conversion: '%' flags* width? ('.' precision?)? floating-letter
// Answers whether format holds exactly one such conversion and no other,
// "%%" being a literal percent sign.
bool IsSingleDoubleFormat(const char* format) {
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        ++p;
        while (*p && std::strchr("-+ #0", *p))
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.')
            for (++p; *p >= '0' && *p <= '9';)
                ++p;
        if (!*p || !std::strchr("aAeEfFgG", *p))
            return false;
        ++conversions;
    }
    return conversions == 1;
}

} // namespace

bool CString::Format(const char* format, double value) {
    if (!format || !IsSingleDoubleFormat(format))
        return false;
    int length = std::snprintf(nullptr, 0, format, value);
    if (length < 0)
        return false;
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value);
    m_text = std::move(text);
    return true;
}

bool CString::LoadString(unsigned id) {
    const char* text = FindStringResource(id);
    if (!text)
        return false;
    m_text.assign(text);
    return true;
}
