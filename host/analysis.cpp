#include "analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace host {

namespace {

constexpr double kPi = 3.14159265358979323846;

double playbackMagnitude(double frequency) {
    const double w = 2.0 * kPi * frequency;
    const std::complex<double> zero(1.0, w * 318e-6);
    const std::complex<double> poles =
        std::complex<double>(1.0, w * 3180e-6) * std::complex<double>(1.0, w * 75e-6);
    return std::abs(zero / poles);
}

} // namespace

double idealPlaybackDb(double frequency) {
    return toDb(playbackMagnitude(frequency) / playbackMagnitude(1000.0));
}

double measureSineGain(const StereoProcessor& process, int sampleRate, int frequency,
                       int blockSize) {
    constexpr double kAmplitude = 0.25;
    const int settle = sampleRate / 2;
    const int total = settle + sampleRate;
    const double step = 2.0 * kPi * frequency / sampleRate;
    std::vector<double> left(static_cast<std::size_t>(blockSize));
    std::vector<double> right(static_cast<std::size_t>(blockSize));
    std::complex<double> sum = 0.0;
    for (int start = 0; start < total; start += blockSize) {
        const int frames = std::min(blockSize, total - start);
        for (int i = 0; i < frames; ++i) {
            // The phase is reduced to whole periods, so that it stays exact over long runs.
            const long long n = static_cast<long long>(start + i) * frequency % sampleRate;
            left[static_cast<std::size_t>(i)] = right[static_cast<std::size_t>(i)] =
                kAmplitude * std::sin(2.0 * kPi * static_cast<double>(n) / sampleRate);
        }
        process(left.data(), right.data(), frames);
        for (int i = 0; i < frames; ++i) {
            const int n = start + i;
            if (n >= settle) {
                sum += left[static_cast<std::size_t>(i)] *
                       std::polar(1.0, -step * static_cast<double>(n - settle));
            }
        }
    }
    return 2.0 * std::abs(sum) / sampleRate / kAmplitude;
}

} // namespace host
