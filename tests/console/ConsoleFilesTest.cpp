// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs named on the command line: files in turn, "-" for standard input,
// files that cannot be read, and the exit status across them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ConsoleRun.h"
#include "ScratchFolderTest.h"

namespace {

class FilesTest : public ScratchFolderTest<> {
protected:
    // Writes a file in the test's folder and returns its path.
    std::string Write(const std::string& name, const std::string& content) {
        std::filesystem::path path = ScratchFolder() / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string Missing(const std::string& name) const { return (ScratchFolder() / name).string(); }
    std::string Folder() const { return ScratchFolder().string(); }
};

TEST_F(FilesTest, FilesRunInTurnOnOneMemory) {
    std::string first = Write("first.txt", "a=5\n");
    std::string second = Write("second.txt", "b=a*2\n");
    ConsoleResult result = RunConsole({first, second}, "");
    ExpectRun(result, "5\n10\n", "", 0);
}

TEST_F(FilesTest, MessagesNameTheFileAndItsOwnLineNumber) {
    std::string first = Write("first.txt", "a=1\n$\n");
    std::string second = Write("second.txt", "\nx=(\r\n");
    ConsoleResult result = RunConsole({first, second}, "");
    ExpectRun(result, "1\nError\nError\n",
              FailureMessage(first + ":2:1", "'$' starts no token", "$", 0) +
                  FailureMessage(second + ":2:3", "missing ')' to close this '('", "x=(", 2),
              1);
}

TEST_F(FilesTest, DashReadsStandardInputBetweenFiles) {
    std::string first = Write("first.txt", "a=1\n");
    std::string last = Write("last.txt", "c=b+1\n");
    ConsoleResult result = RunConsole({first, "-", last}, "b=a+1\nb=(\n");
    ExpectRun(result, "1\n2\nError\n3\n",
              FailureMessage("-:2:3", "missing ')' to close this '('", "b=(", 2), 1);
}

TEST_F(FilesTest, MissingFileIsReportedAndTheNextOneRuns) {
    std::string missing = Missing("missing.txt");
    std::string present = Write("present.txt", "a=3\n");
    ConsoleResult result = RunConsole({missing, present}, "");
    ExpectRun(result, "3\n", "tarvin-console: " + missing + ": No such file or directory\n", 2);
}

TEST_F(FilesTest, FolderGivenAsFileIsUnreadable) {
    std::string present = Write("present.txt", "a=3\n");
    ConsoleResult result = RunConsole({Folder(), present}, "");
    ExpectRun(result, "3\n", "tarvin-console: " + Folder() + ": Is a directory\n", 2);
}

TEST_F(FilesTest, UnreadableFileOutranksFailedLines) {
    std::string failing = Write("failing.txt", "#\n");
    ConsoleResult result = RunConsole({failing, Missing("missing.txt")}, "");
    EXPECT_EQ(result.status, 2);
}

TEST_F(FilesTest, QuitInOneFileSkipsTheRest) {
    std::string first = Write("first.txt", "a=1\nquit\na=2\n");
    std::string second = Write("second.txt", "b=3\n");
    ConsoleResult result = RunConsole({first, second}, "");
    EXPECT_EQ(result.out, "1\n");
    EXPECT_EQ(result.status, 0);
}

TEST_F(FilesTest, FilesMeanStandardInputIsNotRead) {
    std::string only = Write("only.txt", "a=1\n");
    ConsoleResult result = RunConsole({only}, "b=2\n");
    EXPECT_EQ(result.out, "1\n");
}

TEST_F(FilesTest, LongLineReachesTheEngineWhole) {
    std::string sum = "a=0";
    for (int i = 0; i < 5000; ++i)
        sum += "+1";
    std::string script = Write("long.txt", sum + "\n");
    ConsoleResult result = RunConsole({script}, "");
    EXPECT_EQ(result.out, "5000\n");
    EXPECT_EQ(result.status, 0);
}

TEST_F(FilesTest, DoubleDashMakesAnOptionNameAFile) {
    ConsoleResult result = RunConsole({"--", "--help"}, "");
    ExpectRun(result, "", "tarvin-console: --help: No such file or directory\n", 2);
}

} // namespace
