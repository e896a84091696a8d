// Throughput of the equalizer's process paths, against a plain sample-by-sample evaluation of
// the same filter, measured side by side in one run.
//
// The variants run interleaved, round after round, so that a noisy machine slows all of them
// alike; each reports the median time per frame over the rounds and its ratio to the plain
// evaluation. Only the ratios mean something across machines. Usage: process_benchmark [rounds]
#include "referencefilter.h"
#include "zelk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr int kBlocksPerRound = 400;

struct Variant {
    std::string name;
    std::function<void()> runBlock;
    std::vector<double> nanosecondsPerFrame;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;

    std::mt19937 random(1);
    std::uniform_real_distribution<double> audio(-1.0, 1.0);
    std::vector<double> dl(kBlock), dr(kBlock), dOutL(kBlock), dOutR(kBlock);
    std::vector<float> fl(kBlock), fr(kBlock), fOutL(kBlock), fOutR(kBlock);
    for (int i = 0; i < kBlock; ++i) {
        dl[i] = audio(random);
        dr[i] = audio(random);
        fl[i] = static_cast<float>(dl[i]);
        fr[i] = static_cast<float>(dr[i]);
    }
    double* dIn[] = {dl.data(), dr.data()};
    double* dOut[] = {dOutL.data(), dOutR.data()};
    float* fIn[] = {fl.data(), fr.data()};
    float* fOut[] = {fOutL.data(), fOutR.data()};

    Zelk regular(nullptr), inverse(nullptr);
    inverse.setParameter(Zelk::kMode, 1.0f);
    reference::PhonoEqualizer plain;

    std::vector<Variant> variants = {
        {"plain evaluation, double",
         [&] { plain.processDouble(dl.data(), dr.data(), dOutL.data(), dOutR.data(), kBlock); },
         {}},
        {"Zelk double, regular", [&] { regular.processDoubleReplacing(dIn, dOut, kBlock); }, {}},
        {"Zelk double, inverse", [&] { inverse.processDoubleReplacing(dIn, dOut, kBlock); }, {}},
        {"Zelk single, regular", [&] { regular.processReplacing(fIn, fOut, kBlock); }, {}},
        {"Zelk single, inverse", [&] { inverse.processReplacing(fIn, fOut, kBlock); }, {}},
    };

    using Clock = std::chrono::steady_clock;
    for (int round = 0; round < rounds + 1; ++round) {
        for (Variant& variant : variants) {
            const auto start = Clock::now();
            for (int block = 0; block < kBlocksPerRound; ++block) {
                variant.runBlock();
            }
            const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
            if (round > 0) { // the first round warms up
                variant.nanosecondsPerFrame.push_back(elapsed.count() / (kBlocksPerRound * kBlock));
            }
        }
    }

    const double baseline = median(variants[0].nanosecondsPerFrame);
    std::printf("%d rounds of %d blocks of %d stereo frames\n\n", rounds, kBlocksPerRound, kBlock);
    std::printf("%-28s %14s %18s\n", "variant", "ns per frame", "ratio to plain");
    for (const Variant& variant : variants) {
        const double m = median(variant.nanosecondsPerFrame);
        std::printf("%-28s %14.2f %17.2fx\n", variant.name.c_str(), m, m / baseline);
    }
    // Keep the outputs alive.
    return dOutL[kBlock - 1] == 12345.0 && fOutL[0] == 12345.0f ? 1 : 0;
}
