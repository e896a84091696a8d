#include "referencefilter.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace reference {

namespace {

// The 11-bit exponent field of a double.
unsigned exponentField(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return static_cast<unsigned>((bits >> 52) & 0x7FF);
}

double flush(double y) {
    return (y != 0.0 && exponentField(y) <= 1) ? 0.0 : y;
}

bool finite(double v) {
    return exponentField(v) != 0x7FF;
}

} // namespace

void PhonoEqualizer::clearState() {
    channels[0] = Channel();
    channels[1] = Channel();
}

void PhonoEqualizer::followRate() {
    const bool bothNan = std::isnan(sampleRate) && std::isnan(selectedFor);
    if (sampleRate == selectedFor || bothNan) {
        return;
    }
    selectedFor = sampleRate;
    clearState();
    if (sampleRate == 192000.f) {
        a1 = -1.931263, a2 = 0.9313725, b1 = -0.8796912, b2 = -0.1023703;
    } else if (sampleRate == 96000.f) {
        a1 = -1.866634, a2 = 0.8670602, b1 = -0.8535323, b2 = -0.1104603;
    } else if (sampleRate == 88200.f) {
        a1 = -1.8554648, a2 = 0.8559721393, b1 = -0.8479577, b2 = -0.1127631993;
    } else if (sampleRate == 48000.f) {
        a1 = -1.7327655000000002, a2 = 0.7345534436225001, b1 = -0.7555521, b2 = -0.1646257112971;
    } else {
        a1 = -1.700724, a2 = 0.7029381524, b1 = -0.7218922, b2 = -0.1860520545;
    }
}

template <typename Sample>
void PhonoEqualizer::run(const Sample* inLeft, const Sample* inRight, Sample* outLeft,
                         Sample* outRight, int frames, Sample g) {
    followRate();
    const bool inverse = !(mode < 0.5f);
    // Regular: feed-forward 1, b1, b2 and feedback a1, a2; inverse: the other way round.
    const double f1 = inverse ? a1 : b1, f2 = inverse ? a2 : b2;
    const double g1 = inverse ? b1 : a1, g2 = inverse ? b2 : a2;
    const double scale = inverse ? 4.819478 : 0.219786;
    for (int i = 0; i < frames; ++i) {
        const double x[2] = {static_cast<double>(g * inLeft[i]),
                             static_cast<double>(g * inRight[i])};
        double y[2];
        for (int c = 0; c < 2; ++c) {
            Channel& ch = channels[c];
            double acc = 1.0 * x[c];
            acc += f1 * ch.x1;
            acc += f2 * ch.x2;
            acc -= g1 * ch.y1;
            acc -= g2 * ch.y2;
            acc = flush(acc);
            ch.x2 = ch.x1;
            ch.x1 = x[c];
            ch.y2 = ch.y1;
            ch.y1 = acc;
            y[c] = acc;
        }
        outLeft[i] = static_cast<Sample>(y[0] * scale);
        outRight[i] = static_cast<Sample>(y[1] * scale);
    }
    for (Channel& ch : channels) {
        if (!(finite(ch.x1) && finite(ch.x2) && finite(ch.y1) && finite(ch.y2))) {
            ch = Channel();
        }
    }
}

void PhonoEqualizer::processFloat(const float* inLeft, const float* inRight, float* outLeft,
                                  float* outRight, int frames) {
    const float e = gain * 40.0f - 20.0f;
    const auto g = static_cast<float>(std::pow(10.0, static_cast<double>(e) * 0.05));
    run(inLeft, inRight, outLeft, outRight, frames, g);
}

void PhonoEqualizer::processDouble(const double* inLeft, const double* inRight, double* outLeft,
                                   double* outRight, int frames) {
    const double e = static_cast<double>(gain) * 40.0 - 20.0;
    run(inLeft, inRight, outLeft, outRight, frames, std::pow(10.0, e * 0.05));
}

} // namespace reference
