// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the help document and help page fuzz targets share. Their LLVMFuzzerInitialize, in
// HelpFuzzSupport.cpp, starts the GUI application that rich text and its layout need, on the
// offscreen platform, which needs no display; InputText reads the input as UTF-8, as the help
// viewer reads its files.

#include <QString>

#include <cstddef>
#include <cstdint>

inline QString InputText(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
