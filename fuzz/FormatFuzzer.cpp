// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the value formats. Each eight bytes of the input are the bits of one
// double, so every pattern is reached: NaNs of both signs and any payload, infinities, zeros,
// subnormals. Random bits seldom fall where both formats have their fast paths, so the same
// fraction is tried again with its exponent folded into that range. For each value and its
// neighbours one step up and down:
// - the console's result text must equal snprintf("%g") in the "C" locale;
// - the engine's listing line must equal snprintf("%s = %f\r\n");
// - the console's digits style must equal snprintf("%.Ng"), and its exact text must read back
//   as the value.
// The first difference aborts the run with both texts, so libFuzzer saves the input.

#include "ExpressionEngine.h"
#include "ValueFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Room for "%f" of the largest double: 309 integer digits, sign, point and six decimals.
constexpr int kFixedTextSize = 400;
constexpr const char kName[] = "x";
// The binary exponents folded into: about 1e-7 to 1e8, around the decades of both formats.
constexpr int kFoldedExponents = 50;
constexpr int kLowestFoldedExponent = -24;
constexpr int kExponentShift = 52;
constexpr std::uint64_t kExponentMask = 0x7ffull << kExponentShift;
constexpr std::uint64_t kExponentBias = 1023;

// The bits with the exponent field replaced by one of the folded range, sign and fraction kept.
double FoldExponent(std::uint64_t bits) {
    const std::uint64_t exponent = (bits & kExponentMask) >> kExponentShift;
    const std::uint64_t folded =
        kExponentBias + kLowestFoldedExponent + exponent % kFoldedExponents;
    bits = (bits & ~kExponentMask) | (folded << kExponentShift);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

[[noreturn]] void Mismatch(const char* format, double value, const std::string& ours,
                           const char* reference) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::fprintf(stderr,
                 "format fuzzer: %s differs for bits 0x%016llx\n  ours:   \"%s\"\n"
                 "  printf: \"%s\"\n",
                 format, static_cast<unsigned long long>(bits), ours.c_str(), reference);
    std::abort();
}

void CheckGeneral(double value) {
    char ours[kValueTextSize];
    const size_t length = FormatValue(value, ours);
    char reference[kValueTextSize];
    std::snprintf(reference, sizeof reference, "%g", value);
    if (length != std::strlen(ours) || std::strcmp(ours, reference) != 0)
        Mismatch("%g", value, ours, reference);
}

void CheckListing(double value) {
    VariableNode node{};
    std::memcpy(node.name, kName, sizeof kName);
    node.value = value;
    std::string listing;
    ExpressionEngine::ListVariables(&node, &listing);
    char reference[kFixedTextSize];
    std::snprintf(reference, sizeof reference, "%s = %f\r\n", kName, value);
    if (listing != reference)
        Mismatch("%f", value, listing, reference);
}

// The digits style against "%.Ng" for an N taken from the value's low bits, and the exact style
// reading back as the value itself.
void CheckStyles(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int digits = kFewestDigits + static_cast<int>(bits % kMostDigits);
    char ours[kValueTextSize];
    FormatValue(value, ours, ValueStyle{ValueForm::Digits, digits});
    char reference[kValueTextSize];
    std::snprintf(reference, sizeof reference, "%.*g", digits, value);
    if (std::strcmp(ours, reference) != 0)
        Mismatch("%.Ng", value, ours, reference);
    FormatValue(value, ours, ValueStyle{ValueForm::Exact});
    const double back = std::strtod(ours, nullptr);
    if (!std::isnan(value) && std::memcmp(&back, &value, sizeof value) != 0)
        Mismatch("exact", value, ours, "a text that reads back as the value");
}

void CheckValue(double value) {
    CheckGeneral(value);
    CheckListing(value);
    CheckStyles(value);
}

void CheckWithNeighbours(double value) {
    CheckValue(value);
    if (std::isfinite(value)) {
        CheckValue(std::nextafter(value, INFINITY));
        CheckValue(std::nextafter(value, -INFINITY));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + sizeof(double) <= size; at += sizeof(double)) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, data + at, sizeof bits);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        CheckWithNeighbours(value);
        CheckWithNeighbours(FoldExponent(bits));
    }
    return 0;
}
