// SPDX-License-Identifier: GPL-3.0-or-later
#include "ValueFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "ExactValue.h"

static_assert(kExactTextSize == kValueTextSize, "the exact form fills the same buffer");

// "%g" shows kDigits significant digits: in fixed notation when the decimal exponent X of
// the rounded value is at least kLowestFixedExponent and below kDigits, else in exponent
// notation; trailing zeros of the fraction and a point with nothing after it are dropped. The
// general conversion of to_chars is defined as that very conversion and is always right; the two
// paths before it are faster and are taken only where their result is certain to be the same.

namespace {

constexpr int kDigits = 6;
constexpr int kLowestFixedExponent = -4;
// Whole numbers below this have no more digits than "%g" shows.
constexpr double kWholeDigitsLimit = 1e6;
// The smallest number of kDigits digits, and the smallest of one digit more.
constexpr std::int64_t kSmallestOfDigits = 100000;
constexpr std::int64_t kSmallestBeyondDigits = 1000000;
// The scaled value's distance from a rounding tie below which the fast path gives way: far
// above the error of one multiplication of a value below a million.
constexpr double kTieMargin = 1e-6;

// Indexed by kDigits - 1 - X for each decade X of the fixed form: the power of ten that
// brings the value to kDigits digits before the point. Every one is an exact double.
constexpr double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

size_t Finish(char (&text)[kValueTextSize], char* end) {
    *end = '\0';
    return static_cast<size_t>(end - text);
}

// A whole number below kWholeDigitsLimit is written in full, with no point.
bool IsShortWhole(double value) {
    return std::fabs(value) < kWholeDigitsLimit && value == std::trunc(value) &&
           !(value == 0.0 && std::signbit(value));
}

// The kDigits digits of magnitude rounded at its decade, and the decade X; false where the
// rounding is not certain or the value does not take the fixed form.
bool RoundToDigits(double magnitude, std::int64_t& digits, int& exponent) {
    exponent = kDigits - 1;
    while (exponent > kLowestFixedExponent &&
           magnitude * kScales[kDigits - 1 - exponent] < kSmallestOfDigits)
        --exponent;
    const double scaled = magnitude * kScales[kDigits - 1 - exponent];
    if (scaled < kSmallestOfDigits || scaled >= kSmallestBeyondDigits)
        return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < kTieMargin)
        return false;
    digits = static_cast<std::int64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (digits == kSmallestBeyondDigits) {
        digits = kSmallestOfDigits;
        ++exponent;
    }
    return exponent < kDigits;
}

// Writes the digits with the point after digit X + 1 (or "0." and zeros before them for a
// negative X), then drops trailing zeros of the fraction and a bare point.
char* WriteFixed(char* out, std::int64_t digits, int exponent) {
    char figures[kDigits];
    for (int i = kDigits - 1; i >= 0; --i, digits /= 10)
        figures[i] = static_cast<char>('0' + digits % 10);
    int used = 0;
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int zeros = -exponent - 1; zeros > 0; --zeros)
            *out++ = '0';
    } else {
        for (; used <= exponent; ++used)
            *out++ = figures[used];
        *out++ = '.';
    }
    char* last = out;
    for (; used < kDigits; ++used) {
        *out++ = figures[used];
        if (figures[used] != '0')
            last = out;
    }
    return last[-1] == '.' ? last - 1 : last;
}

} // namespace

size_t FormatValue(double value, char (&text)[kValueTextSize]) {
    char* const end = text + kValueTextSize - 1;
    if (IsShortWhole(value))
        return Finish(text, std::to_chars(text, end, static_cast<long>(value)).ptr);
    std::int64_t digits = 0;
    int exponent = 0;
    if (std::isfinite(value) && RoundToDigits(std::fabs(value), digits, exponent)) {
        char* out = text;
        if (value < 0)
            *out++ = '-';
        return Finish(text, WriteFixed(out, digits, exponent));
    }
    return Finish(text, std::to_chars(text, end, value, std::chars_format::general, kDigits).ptr);
}

size_t FormatValue(double value, char (&text)[kValueTextSize], const ValueStyle& style) {
    switch (style.form) {
    case ValueForm::Digits: {
        // The general conversion with a precision is printf's "%.Ng".
        char* const end = text + kValueTextSize - 1;
        return Finish(
            text, std::to_chars(text, end, value, std::chars_format::general, style.digits).ptr);
    }
    case ValueForm::Exact:
        return FormatExact(value, text);
    case ValueForm::ResultField:
        break;
    }
    return FormatValue(value, text);
}
