// SPDX-License-Identifier: GPL-3.0-or-later
#include "InformationOption.h"

#include <cstdio>
#include <cstring>

int AnswerInformationOption(int argc, char** argv, const char* program, const char* usage,
                            const char* version) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            std::printf(usage, program);
        else if (std::strcmp(argv[i], "--version") == 0)
            std::printf("%s %s\n", program, version);
        else
            continue;
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    return -1;
}
