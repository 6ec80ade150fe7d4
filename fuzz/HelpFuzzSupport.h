// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the help fuzz targets share: the GUI application that rich text and its layout need,
// on the offscreen platform, which needs no display; and the input read as UTF-8, as the help
// viewer reads its files.

#include <QGuiApplication>
#include <QString>

#include <cstddef>
#include <cstdint>

// Starts the run's one application; for LLVMFuzzerInitialize.
inline void StartOffscreenApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
}

inline QString InputText(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
