// Times a refresh of the main window over 1,000,000 files (the walk plus
// filling the list, offscreen) against `find DIR -type f -printf '%s %p\n'`,
// the time from the end of the walk to the first paint, and the memory the
// list costs per path.
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>

#include <cstdio>

#include "Benchtree.h"
#include "mainwindow/Tformmain.h"
#include "ui_Tformmain.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::string work = bench::WorkDirectory("refresh");
    const std::string tree = work + "/tree";
    bench::BuildTree(tree, 1000000, 20000);
    qputenv("TMPDIR", QByteArray::fromStdString(tree));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(work + "/config"));

    QApplication application(argc, argv);
    TFormMain window;
    window.TimerStartup.stop();
    window.show();
    QApplication::processEvents();
    QListView* view = window.Components().lb1;

    const std::string find = "find '" + tree + "' -type f -printf '%s %p\\n' >/dev/null";
    std::vector<double> ours, reference, toPaint;
    window.RefreshFileList();  // warm the cache
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        window.RefreshFileList();
        const qint64 listed = timer.nsecsElapsed();
        view->viewport()->repaint();
        const qint64 painted = timer.nsecsElapsed();
        ours.push_back(listed / 1e9);
        toPaint.push_back((painted - listed) / 1e9);
        reference.push_back(bench::Seconds([&] { bench::RunShell(find); }));
    }
    const double perPath = static_cast<double>(window.ListedFiles().MemoryUsed()) / window.FileCount;
    bench::RunShell("rm -rf '" + work + "'");

    const double a = bench::Median(ours), b = bench::Median(reference);
    std::printf("files listed: %d\n", window.FileCount);
    std::printf("RefreshFileList: %.3f s (median of %d)\n", a, rounds);
    std::printf("find -type f -printf: %.3f s (median of %d)\n", b, rounds);
    std::printf("ratio refresh/find: %.2f (target at most 1.2)\n", a / b);
    std::printf("end of walk to first paint: %.1f ms (target at most 100 ms)\n", bench::Median(toPaint) * 1000);
    std::printf("list memory per path: %.1f bytes (target at most 150)\n", perPath);
    return window.FileCount == 1000000 ? 0 : 1;
}
