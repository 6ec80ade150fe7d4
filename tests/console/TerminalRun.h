// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <utility>
#include <vector>

// The console program running on a pseudo-terminal, as a person at a terminal would see it.
class TerminalRun {
public:
    // The environment variables set for the program (an empty value sets the variable empty),
    // its HOME among them, and the folder it starts in. XDG_STATE_HOME and TARVIN_HISTORY are
    // removed unless given, and the line editor reads no key bindings of the machine's.
    struct Setup {
        std::vector<std::pair<std::string, std::string>> environment;
        std::filesystem::path folder;
        // The most address space the program may take, in bytes; 0 for no bound.
        rlim_t memoryLimit = 0;
        // A script that bash runs with job control, as a shell on a terminal does, in which
        // "$0" is the program; null to run the program itself.
        const char* jobControlScript = nullptr;
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

    // Types keys at once, whoever reads the terminal.
    bool Type(const std::string& keys);

    // True when the terminal reads whole lines and echoes them, as a shell's commands need.
    bool InLineMode() const;

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
