// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// The console program running on a pseudo-terminal, as a person at a terminal would see it.
class TerminalRun {
public:
    // The environment variables set for the program (an empty value sets the variable empty),
    // its HOME among them, and the folder it starts in. XDG_STATE_HOME and TARVIN_HISTORY are
    // removed unless given.
    struct Setup {
        std::vector<std::pair<std::string, std::string>> environment;
        std::filesystem::path folder;
    };

    explicit TerminalRun(const Setup& setup);
    ~TerminalRun();
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    bool Started() const { return child_ > 0; }

    // Types keys once the line editor has the terminal; false when it never takes it. Keys
    // typed earlier meet the terminal's own line discipline, which swallows a Ctrl+D when the
    // editor then switches the terminal over.
    bool Send(const std::string& keys);

    // Reads the terminal until text appears after what earlier waits used up.
    bool WaitFor(const std::string& text);

    // Waits for the program to end by itself; its exit status (128 and the number for a signal,
    // as a shell gives it), or -1 when it did not end in time.
    int WaitForExit();

    // Sends the program a signal, as closing the terminal or another program would.
    bool Signal(int number);

    // What the terminal showed after the last text waited for.
    std::string Unused() const { return screen_.substr(used_); }
    // Everything the terminal showed so far.
    const std::string& Screen() const { return screen_; }

private:
    bool WaitForEditor();
    bool ReadSome(int milliseconds);

    pid_t child_ = -1;
    int master_ = -1;
    std::string screen_;
    size_t used_ = 0;
};
