// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinApp.h"

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
