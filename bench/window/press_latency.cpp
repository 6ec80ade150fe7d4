// SPDX-License-Identifier: GPL-3.0-or-later
// Press latency against archive size: one dialog per size, its archive filled
// with that many lines, then presses timed one by one. The sizes take turns in
// every round so that a noisy moment of the machine hits them all alike.
// Usage: tarvin_bench_window_press [rounds [presses-per-round]]

#include "BenchTable.h"
#include "ProgramResources.h"
#include "TimedDialog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kArchiveSizes[] = {0, 1000, 10000, 100000};
constexpr double kGoalMilliseconds = 2.0;
constexpr double kGoalRatio = 2.0;

// Lines as earlier presses leave them in the archive, newest first.
std::string ArchiveLines(int count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 16);
    for (int line = count - 1; line >= 0; --line) {
        text += 'v';
        text += std::to_string(line % 97);
        text += '=';
        text += std::to_string(line);
        text += "*3+1\r\n";
    }
    return text;
}

// The archive pane gets the lines as if the user had pasted them; the first
// press takes them in and loads the pane in full, as any press after an edit.
struct SizedDialog {
    int lines;
    std::unique_ptr<TimedDialog> dialog;
    std::vector<double> roundMedians;
    std::vector<double> repaintMedians;
};

bool Prepare(SizedDialog& sized) {
    sized.dialog = std::make_unique<TimedDialog>();
    if (!sized.dialog->Create())
        return false;
    sized.dialog->GetSafeHwnd()->show();
    if (sized.lines > 0) {
        SetControlText(sized.dialog->GetDlgItem(IDC_ARCHIVE), ArchiveLines(sized.lines));
        sized.dialog->Press("x=0");
    }
    QApplication::processEvents();
    return true;
}

// One round of presses on one dialog: the press alone, and the press with the
// repaint that follows it, each as the median of the round.
void RunRound(SizedDialog& sized, int presses) {
    std::vector<double> press;
    std::vector<double> withRepaint;
    for (int i = 0; i < presses; ++i) {
        sized.dialog->Type("x=x+1");
        auto start = std::chrono::steady_clock::now();
        sized.dialog->Press();
        press.push_back(bench::MillisecondsSince(start));
        QApplication::processEvents();
        withRepaint.push_back(bench::MillisecondsSince(start));
    }
    sized.roundMedians.push_back(bench::Median(press));
    sized.repaintMedians.push_back(bench::Median(withRepaint));
}

// The presses count only if the archive pane shows what a full reload would:
// every line, the newest on top.
bool ArchiveIsRight(const SizedDialog& sized, int pressed) {
    auto* pane = qobject_cast<QPlainTextEdit*>(sized.dialog->GetDlgItem(IDC_ARCHIVE));
    QString shown = pane->document()->toPlainText();
    shown.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    std::string archive = sized.dialog->Text(IDC_ARCHIVE);
    int lines = sized.lines + (sized.lines > 0 ? 1 : 0) + pressed;
    return shown.toStdString() == archive && pane->blockCount() == lines + 1 &&
           archive.starts_with("x=x+1\r\n");
}

std::string Item(int lines, const char* what) {
    return std::to_string(lines) + " lines, " + what;
}

void Report(const std::vector<SizedDialog>& sizes) {
    for (const SizedDialog& sized : sizes) {
        double median = bench::Median(sized.roundMedians);
        bool last = &sized == &sizes.back();
        bench::PrintRow("press", Item(sized.lines, "press"), median, "ms", last ? "< 2" : "-",
                        last ? bench::Verdict(median < kGoalMilliseconds) : "-");
        bench::PrintRow("press", Item(sized.lines, "press and repaint"),
                        bench::Median(sized.repaintMedians), "ms", "-", "-");
    }
    // What the user waits for is the press and the repaint it brings; the bare press is a
    // small part of it, whose ratio magnifies differences of a tenth of a millisecond.
    double ratio =
        bench::Median(sizes.back().repaintMedians) / bench::Median(sizes.front().repaintMedians);
    bench::PrintRow("press", "100000 lines / 0 lines, press and repaint", ratio, "x", "<= 2",
                    bench::Verdict(ratio <= kGoalRatio));
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
    int presses = argc > 2 ? std::atoi(argv[2]) : 41;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    UseProgramResources();
    std::vector<SizedDialog> sizes;
    for (int lines : kArchiveSizes)
        sizes.push_back({lines, nullptr, {}, {}});
    for (SizedDialog& sized : sizes)
        if (!Prepare(sized))
            return 1;
    for (int round = 0; round < rounds; ++round)
        for (SizedDialog& sized : sizes)
            RunRound(sized, presses);
    for (const SizedDialog& sized : sizes) {
        if (!ArchiveIsRight(sized, rounds * presses)) {
            std::fprintf(stderr, "%s: the archive pane does not show the archive\n", argv[0]);
            return 1;
        }
    }
    Report(sizes);
    return 0;
}
