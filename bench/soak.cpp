// Downloads and uploads against the simulated module, each meeting a random fault (or none)
// with every prompt answered at random, without the protocol's settling delays. Each must
// succeed with the module's exact bytes or fail with the data buffer as it was. Run by hand:
//   build/bin/bench_soak [SEED [COUNT]]
// Exits non-zero on any false result or lost image.
#include <QElapsedTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "soak_run.h"

namespace {

using namespace qz::soak;

// Outcomes by fault kind and direction.
struct Tally {
    std::array<std::array<int, 4>, 2> byVerdict{};  // [upload][verdict]
};

std::uint64_t argument(int argc, char** argv, int index, std::uint64_t fallback) {
    if (argc <= index) return fallback;
    char* end = nullptr;
    const std::uint64_t value = std::strtoull(argv[index], &end, 10);
    if (*end != '\0') {
        std::fprintf(stderr, "usage: bench_soak [SEED [COUNT]]\n");
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t seed = argument(argc, argv, 1, 1);
    const std::uint64_t count = argument(argc, argv, 2, 10000);

    std::array<Tally, kFaultKinds> tallies{};
    int aborts = 0, retries = 0, ignores = 0, otherBoxes = 0, retryLimits = 0;
    int falseResults = 0, lostImages = 0;
    double skippedMs = 0;
    QElapsedTimer clock;
    clock.start();
    for (std::uint64_t i = 0; i < count; ++i) {
        // Each transfer has a seed of its own, so one can be replayed alone.
        const SoakResult r = runTransfer(seed * 1'000'003 + i);
        ++tallies[static_cast<int>(r.kind)].byVerdict[r.upload][static_cast<int>(r.verdict)];
        aborts += r.aborts;
        retries += r.retries;
        ignores += r.ignores;
        otherBoxes += r.otherBoxes;
        retryLimits += r.retriesSpent;
        skippedMs += r.skippedDelayMs;
        falseResults += r.verdict == Verdict::FalseResult;
        lostImages += r.verdict == Verdict::LostImage;
        if (!r.why.empty())
            std::printf("transfer %llu (%s, %s): %s\n", static_cast<unsigned long long>(i),
                        r.upload ? "upload" : "download", r.faultText.c_str(), r.why.c_str());
    }
    const double wallS = clock.nsecsElapsed() / 1e9;

    std::printf("seed %llu, %llu transfers in %.1f s; settling delays skipped: %.0f s\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(count),
                wallS, skippedMs / 1000);
    std::printf("%-16s %20s %20s\n", "fault", "downloads ok/failed", "uploads ok/failed");
    for (int k = 0; k < kFaultKinds; ++k) {
        const auto& v = tallies[k].byVerdict;
        auto cell = [&](int upload) {
            return std::to_string(v[upload][0]) + "/" + std::to_string(v[upload][1]);
        };
        std::printf("%-16s %20s %20s\n", faultName(static_cast<FaultKind>(k)), cell(0).c_str(),
                    cell(1).c_str());
    }
    std::printf(
        "error prompts: %d Abort, %d Retry, %d Ignore (Retry held back in %d transfers); "
        "%d other boxes\n",
        aborts, retries, ignores, retryLimits, otherBoxes);
    std::printf("soak: %llu transfers, %d false results, %d lost images\n",
                static_cast<unsigned long long>(count), falseResults, lostImages);
    return falseResults == 0 && lostImages == 0 ? 0 : 1;
}
