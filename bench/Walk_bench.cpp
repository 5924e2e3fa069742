// Times the listing walk (FindFilesAndSizes) over 200,000 files in 20,000
// directories against `find DIR -type f -printf '%s %p\n'` on the same tree,
// warm cache, and prints the ratio of the medians.
#include <cstdio>

#include "Benchtree.h"
#include "filesystem/Tfunctions.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
    const std::string work = bench::WorkDirectory("walk");
    const std::string tree = work + "/tree";
    bench::BuildTree(tree, 200000, 20000);

    const std::string find = "find '" + tree + "' -type f -printf '%s %p\\n' >/dev/null";
    std::size_t listed = 0;
    const auto walk = [&] {
        PathList files;
        SizeList sizes;
        TFunctions(nullptr).FindFilesAndSizes(files, sizes, tree, "*.*", true);
        listed = files.Count();
    };
    walk();  // warm the cache
    bench::RunShell(find);
    std::vector<double> ours, reference;
    for (int i = 0; i < rounds; ++i) {
        ours.push_back(bench::Seconds(walk));
        reference.push_back(bench::Seconds([&] { bench::RunShell(find); }));
    }
    bench::RunShell("rm -rf '" + work + "'");
    const double a = bench::Median(ours), b = bench::Median(reference);
    std::printf("files listed: %zu\n", listed);
    std::printf("FindFilesAndSizes: %.3f s (median of %d)\n", a, rounds);
    std::printf("find -type f -printf: %.3f s (median of %d)\n", b, rounds);
    std::printf("ratio walk/find: %.2f (target at most 0.85)\n", a / b);
    return listed == 200000 ? 0 : 1;
}
