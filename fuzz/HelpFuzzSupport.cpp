// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer's start for the help targets that read rich text or lay it out: both need a GUI
// application, and the offscreen platform needs no display.

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}
