// SPDX-License-Identifier: GPL-3.0-or-later
// A press over a large memory: the given number of distinct variables are
// created through the dialog, a hundred to a line, then presses that change
// one variable in the middle of the listing are timed, so that every press
// rebuilds the whole listing and the variables pane takes it in anew.
// Usage: tarvin_bench_window_variables [variables [presses]]

#include "BenchTable.h"
#include "ProgramResources.h"
#include "TimedDialog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kNamesPerLine = 100;
constexpr double kGoalMilliseconds = 10.0;

// ans=vFirst+...+vLast: reading a missing variable creates it with 0.
std::string CreatingLine(int first, int last) {
    std::string line = "ans=";
    for (int index = first; index < last; ++index) {
        if (index > first)
            line += '+';
        line += 'v';
        line += std::to_string(index);
    }
    return line;
}

void CreateVariables(TimedDialog& dialog, int count) {
    for (int first = 0; first < count; first += kNamesPerLine)
        dialog.Press(CreatingLine(first, std::min(count, first + kNamesPerLine)));
}

// The listing's line count: one per variable, each ended by CR LF.
int ListedVariables(const TimedDialog& dialog) {
    std::string listing = dialog.Text(IDC_VARIABLES);
    return static_cast<int>(std::count(listing.begin(), listing.end(), '\n'));
}

// The timed presses count only if the pane shows what a full reload would:
// the listing read back, with the changed variable at its last value.
bool PaneIsRight(const TimedDialog& dialog, const std::string& name, int presses) {
    auto* pane = qobject_cast<QPlainTextEdit*>(dialog.GetDlgItem(IDC_VARIABLES));
    QString shown = pane->document()->toPlainText();
    shown.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    std::string listing = dialog.Text(IDC_VARIABLES);
    std::string line = "\n" + name + " = " + std::to_string(presses) + ".000000\r\n";
    return shown.toStdString() == listing && listing.find(line) != std::string::npos;
}

} // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    int presses = argc > 2 ? std::atoi(argv[2]) : 31;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    UseProgramResources();
    TimedDialog dialog;
    if (!dialog.Create())
        return 1;
    dialog.GetSafeHwnd()->show();
    CreateVariables(dialog, count);
    std::string middle = 'v' + std::to_string(count / 2);
    std::string line = middle;
    line += '=';
    line += middle;
    line += "+1";
    std::vector<double> times;
    for (int press = 0; press < presses; ++press) {
        dialog.Type(line);
        auto start = std::chrono::steady_clock::now();
        dialog.Press();
        times.push_back(bench::MillisecondsSince(start));
        QApplication::processEvents();
    }
    if (!PaneIsRight(dialog, middle, presses)) {
        std::fprintf(stderr, "%s: the variables pane does not show the listing\n", argv[0]);
        return 1;
    }
    double median = bench::Median(times);
    std::string item = std::to_string(count) + " variables created, press (pane of " +
                       std::to_string(ListedVariables(dialog)) + " lines with ans)";
    bench::PrintRow("variables", item, median, "ms", "< 10",
                    bench::Verdict(median < kGoalMilliseconds));
    return 0;
}
