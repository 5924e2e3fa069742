// Times a clearing of 200,000 files in 20,000 directories (the in-use scan,
// the listed files deleted in one batch, the emptied directories removed
// deepest first) against `rm -rf` on an identical tree, and prints the ratio
// of the medians.
#include <cstdio>
#include <optional>

#include "Benchtree.h"
#include "filesystem/Tfunctions.h"
#include "platform/Filedeletion.h"

namespace {

std::vector<std::string> Strings(const PathList& list) {
    std::vector<std::string> strings;
    strings.reserve(list.Count());
    for (std::size_t i = 0; i < list.Count(); ++i)
        strings.push_back(list[i]);
    return strings;
}

struct Clearing {
    double files = 0;
    double directories = 0;
    bool complete = false;
};

// The clearing as the main window runs it, on lists made beforehand as its listing does.
Clearing Clear(const std::string& tree) {
    PathList fileList, directoryList;
    const TFunctions functions(nullptr);
    functions.FindFiles(fileList, tree + '/', "*.*", true);
    functions.FindDirectories(directoryList, tree + '/', true);
    const std::vector<std::string> files = Strings(fileList), directories = Strings(directoryList);

    Clearing clearing;
    std::vector<bool> gone, removed;
    std::optional<platform::FileDeleter> deleter;
    clearing.files = bench::Seconds([&] {
        deleter.emplace(tree + '/');
        gone = deleter->DeleteListedFiles(files);  // reads which files are in use first
    });
    clearing.directories = bench::Seconds([&] {
        removed = deleter->RemoveDirectories(directories);
        deleter.reset();
        rmdir(tree.c_str());  // as rm -rf removes its argument too
    });
    clearing.complete = files.size() == 200000 && directories.size() == 20000
        && std::count(gone.begin(), gone.end(), true) == 200000
        && std::count(removed.begin(), removed.end(), true) == 20000 && access(tree.c_str(), F_OK) != 0;
    return clearing;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const std::string work = bench::WorkDirectory("clearing");
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
        const Clearing clearing = Clear(mine);
        ours.push_back(clearing.files + clearing.directories);
        complete = complete && clearing.complete;
        if (round % 2 == 0)
            runReference();
        std::printf("round %d: clearing %.3f s (files %.3f s, directories %.3f s), rm -rf %.3f s, ratio %.2f\n",
                    round + 1, ours.back(), clearing.files, clearing.directories, reference.back(),
                    ours.back() / reference.back());
        std::fflush(stdout);
    }
    bench::RunShell("rm -rf '" + work + "'");
    const double a = bench::Median(ours), b = bench::Median(reference);
    std::printf("clearing (in-use scan, DeleteListedFiles, RemoveDirectories): %.3f s (median of %d)\n", a, rounds);
    std::printf("rm -rf: %.3f s (median of %d)\n", b, rounds);
    std::printf("ratio clearing/rm -rf: %.2f (target at most 1.0)%s\n", a / b, complete ? "" : "  INCOMPLETE CLEARING");
    return complete ? 0 : 1;
}
