// Times the main window's clearing of 200,000 listed files in 20,000
// directories (the in-use scan, the files, the emptied directories deepest
// first, the totals, the relisting) against `rm -rf` on an identical tree, and
// prints the ratio of the medians.
#include <QApplication>
#include <QStatusBar>

#include <cstdio>

#include "Benchtree.h"
#include "mainwindow/Tformmain.h"
#include "ui_Tformmain.h"

namespace {

// The clearing exactly as the main window runs it after its listing: the
// in-use scan, the listed files, the emptied directories, the totals and the
// relisting of what is left.
double Clear(const std::string& tree, const std::string& config, bool& complete) {
    qputenv("TMPDIR", QByteArray::fromStdString(tree));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    TFormMain window;
    window.TimerStartup.stop();
    window.RefreshFileList();
    const int listed = window.FileCount;
    const double seconds = bench::Seconds([&] { window.ClearListedFiles(); });
    complete = listed == 200000 && window.FileCount == 0 &&
               window.Components().StatusBar1->currentMessage() == "Deleted: 200000 files, 20000 directories";
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const std::string work = bench::WorkDirectory("clearing");
    QApplication application(argc, argv);
    std::vector<double> ours, reference;
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        const std::string mine = work + "/ours", theirs = work + "/rm";
        bench::BuildTree(mine, 200000, 20000);
        bench::BuildTree(theirs, 200000, 20000);
        sync();  // both start with nothing left to write back
        const auto runReference = [&] { reference.push_back(bench::Seconds([&] { bench::RunShell("rm -rf '" + theirs + "'"); })); };
        if (round % 2)
            runReference();
        bool cleared = false;
        ours.push_back(Clear(mine, work + "/config", cleared));
        complete = complete && cleared;
        if (round % 2 == 0)
            runReference();
        std::printf("round %d: ClearListedFiles %.3f s, rm -rf %.3f s, ratio %.2f\n", round + 1, ours.back(),
                    reference.back(), ours.back() / reference.back());
        std::fflush(stdout);
    }
    bench::RunShell("rm -rf '" + work + "'");
    const double a = bench::Median(ours), b = bench::Median(reference);
    std::printf("ClearListedFiles (in-use scan, files, emptied directories, totals, relisting): %.3f s (median of %d)\n",
                a, rounds);
    std::printf("rm -rf: %.3f s (median of %d)\n", b, rounds);
    std::printf("ratio clearing/rm -rf: %.2f (target at most 1.0)%s\n", a / b, complete ? "" : "  INCOMPLETE CLEARING");
    return complete ? 0 : 1;
}
