// The equalizer's filter and block processing, on Zelk objects built directly.
#include "zelk.h"

#include "analysis.h"
#include "referencefilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr float kRates[] = {44100.f, 48000.f, 88200.f, 96000.f, 192000.f};

enum class Precision { Single, Double };
const char* nameOf(Precision p) {
    return p == Precision::Single ? "single" : "double";
}

std::unique_ptr<Zelk> makeZelk(float rate, float mode = 0.0f, float gain = 0.5f) {
    auto zelk = std::make_unique<Zelk>(nullptr);
    zelk->setSampleRate(rate);
    zelk->setParameter(Zelk::kMode, mode);
    zelk->setParameter(Zelk::kGain, gain);
    return zelk;
}

// Processes stereo double buffers in place through either precision path.
void processInPlace(Zelk& zelk, Precision precision, double* left, double* right, int frames) {
    if (precision == Precision::Double) {
        double* channels[] = {left, right};
        zelk.processDoubleReplacing(channels, channels, frames);
        return;
    }
    std::vector<float> l(left, left + frames), r(right, right + frames);
    float* channels[] = {l.data(), r.data()};
    zelk.processReplacing(channels, channels, frames);
    std::copy(l.begin(), l.end(), left);
    std::copy(r.begin(), r.end(), right);
}

double measureGain(float rate, float mode, Precision precision, int frequency) {
    auto zelk = makeZelk(rate, mode);
    return host::measureSineGain(
        [&](double* left, double* right, int frames) {
            processInPlace(*zelk, precision, left, right, frames);
        },
        static_cast<int>(rate), frequency);
}

// `frames` samples of uniform noise in [-1, 1), the same for the same seed.
std::vector<double> noise(unsigned seed, std::size_t frames) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> audio(-1.0, 1.0);
    std::vector<double> samples(frames);
    for (double& v : samples) {
        v = audio(random);
    }
    return samples;
}

std::uint64_t bitsOf(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}
std::uint32_t bitsOf(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

} // namespace

TEST(ZelkFilter, ImpulseResponseAt44100) {
    struct Case {
        float mode;
        double expected[4];
    } const cases[] = {
        {0.0f, {0.219786, 0.215134, 0.170495, 0.138740}},
        {1.0f, {4.819478, -4.717458, 0.878972, -0.243170}},
    };
    for (const Case& c : cases) {
        for (Precision precision : {Precision::Single, Precision::Double}) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << nameOf(precision));
            auto zelk = makeZelk(44100.f, c.mode);
            double left[4] = {1, 0, 0, 0}, right[4] = {1, 0, 0, 0};
            processInPlace(*zelk, precision, left, right, 4);
            for (int n = 0; n < 4; ++n) {
                EXPECT_NEAR(left[n], c.expected[n], 5e-7) << "sample " << n;
                EXPECT_EQ(left[n], right[n]) << "sample " << n;
            }
        }
    }
    // b0 and a0 are 1: the first output is the scale itself.
    auto regular = makeZelk(44100.f, 0.0f);
    double one[] = {1.0}, other[] = {1.0};
    processInPlace(*regular, Precision::Double, one, other, 1);
    EXPECT_EQ(one[0], 0.219786);
}

// Level of regular mode in dB for a sine, gain 0 dB, and the ideal playback curve.
struct LevelRow {
    float rate;
    double db[9];
    double curveTolerance; // of the shape relative to 1 kHz, against the ideal curve
    double linearAt1k[2];  // regular, inverse
};
constexpr int kFrequencies[9] = {20, 50, 100, 500, 1000, 2000, 5000, 10000, 20000};
constexpr double kIdealDb[9] = {19.27, 16.95, 13.09, 2.65, 0.00, -2.59, -8.21, -13.73, -19.62};
const LevelRow kLevels[] = {
    {44100.f,
     {18.65, 16.52, 12.82, 2.12, -0.69, -3.13, -8.46, -14.17, -19.87},
     0.45,
     {0.923233, 1.147331}},
    {48000.f,
     {19.26, 17.08, 13.34, 2.75, 0.00, -2.49, -7.93, -13.58, -19.34},
     0.28,
     {1.000219, 1.059022}},
    {88200.f,
     {23.99, 21.70, 17.87, 7.44, 4.78, 2.20, -3.41, -8.94, -14.82},
     0.06,
     {1.734551, 0.610679}},
    {96000.f,
     {24.74, 22.42, 18.56, 8.12, 5.47, 2.88, -2.73, -8.26, -14.14},
     0.01,
     {1.876118, 0.564599}},
    {192000.f,
     {30.49, 28.15, 24.28, 13.84, 11.19, 8.60, 2.98, -2.54, -8.43},
     0.02,
     {3.626824, 0.292061}},
};

TEST(ZelkFilter, SteadyStateLevelsFollowTheTables) {
    // The two scales together give +0.50 dB: inverse mode is that minus the regular level.
    const double flatDb = host::toDb(0.219786 * 4.819478);
    EXPECT_NEAR(0.219786 * 4.819478, 1.0592538, 1e-7);
    for (int k = 0; k < 9; ++k) {
        EXPECT_NEAR(host::idealPlaybackDb(kFrequencies[k]), kIdealDb[k], 0.005);
    }
    for (const LevelRow& row : kLevels) {
        for (Precision precision : {Precision::Single, Precision::Double}) {
            double regularDb[9];
            for (int k = 0; k < 9; ++k) {
                SCOPED_TRACE(testing::Message() << row.rate << " Hz, " << kFrequencies[k]
                                                << " Hz sine, " << nameOf(precision));
                const double regular = measureGain(row.rate, 0.0f, precision, kFrequencies[k]);
                const double inverse = measureGain(row.rate, 1.0f, precision, kFrequencies[k]);
                regularDb[k] = host::toDb(regular);
                EXPECT_NEAR(regularDb[k], row.db[k], 0.0051);
                EXPECT_NEAR(host::toDb(inverse), flatDb - regularDb[k], 1e-4);
                if (kFrequencies[k] == 1000) {
                    EXPECT_NEAR(regular, row.linearAt1k[0], 1e-6);
                    EXPECT_NEAR(inverse, row.linearAt1k[1], 1e-6);
                }
            }
            // The tolerances were read off figures rounded to 0.01 dB (the level, the level at
            // 1 kHz and the ideal curve): allow for that rounding.
            const double at1k = regularDb[4];
            for (int k = 0; k < 9; ++k) {
                EXPECT_LE(std::fabs((regularDb[k] - at1k) - host::idealPlaybackDb(kFrequencies[k])),
                          row.curveTolerance + 0.015)
                    << row.rate << " Hz, " << kFrequencies[k] << " Hz sine, " << nameOf(precision);
            }
        }
    }
}

TEST(ZelkFilter, RegularThenInverseIsFlat) {
    const double flat = 0.219786 * 4.819478;
    for (float rate : kRates) {
        SCOPED_TRACE(testing::Message() << rate << " Hz");
        auto regular = makeZelk(rate, 0.0f);
        auto inverse = makeZelk(rate, 1.0f);
        const std::vector<double> input = noise(7, 20000);
        std::vector<double> left = input, right = input;
        processInPlace(*regular, Precision::Double, left.data(), right.data(), 20000);
        processInPlace(*inverse, Precision::Double, left.data(), right.data(), 20000);
        double worst = 0.0;
        for (std::size_t i = 0; i < input.size(); ++i) {
            worst = std::max(worst, std::fabs(left[i] - flat * input[i]));
            ASSERT_EQ(left[i], right[i]);
        }
        EXPECT_LT(worst, 1e-9);
    }
}

TEST(ZelkFilter, GainScalesTheInput) {
    struct Case {
        float gain;
        double factor;
    } const cases[] = {{0.0f, 0.1}, {0.5f, 1.0}, {1.0f, 10.0}};
    for (const Case& c : cases) {
        for (Precision precision : {Precision::Single, Precision::Double}) {
            SCOPED_TRACE(testing::Message() << "gain " << c.gain << ", " << nameOf(precision));
            auto zelk = makeZelk(44100.f, 0.0f, c.gain);
            double left[] = {1.0, 0.0}, right[] = {-1.0, 0.0};
            processInPlace(*zelk, precision, left, right, 2);
            EXPECT_NEAR(left[0], c.factor * 0.219786, c.factor * 1e-7);
            EXPECT_NEAR(left[1], c.factor * 0.215134, c.factor * 1e-6);
            EXPECT_EQ(right[0], -left[0]);
        }
    }
    // 0 dB is exactly 1 in both paths.
    for (Precision precision : {Precision::Single, Precision::Double}) {
        auto zelk = makeZelk(44100.f);
        double left[] = {0.75}, right[] = {0.75};
        processInPlace(*zelk, precision, left, right, 1);
        EXPECT_EQ(left[0], precision == Precision::Double
                               ? 0.75 * 0.219786
                               : static_cast<double>(static_cast<float>(0.75 * 0.219786)));
    }
}

// The effect against the plain evaluation, on random audio in random blocks (0 included), in
// place and not, alternating precisions, with parameter, rate and resume changes between blocks.
TEST(ZelkFilter, BitExactAgainstPlainEvaluation) {
    const float rates[] = {44100.f, 48000.f, 88200.f, 96000.f, 192000.f, 32000.f, 44099.f};
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> audio(-1.0, 1.0);
    std::uniform_int_distribution<int> blockSize(0, 700);
    std::uniform_int_distribution<int> event(0, 19);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);

    Zelk zelk(nullptr);
    reference::PhonoEqualizer plain;
    std::vector<double> inL(700), inR(700), outL(700), outR(700), refL(700), refR(700);
    std::vector<float> finL(700), finR(700), foutL(700), foutR(700), frefL(700), frefR(700);
    for (int block = 0; block < 3000; ++block) {
        SCOPED_TRACE(testing::Message() << "block " << block);
        switch (event(random)) {
        case 0: {
            const float rate = rates[std::uniform_int_distribution<int>(0, 6)(random)];
            zelk.setSampleRate(rate);
            plain.sampleRate = rate;
            break;
        }
        case 1:
            zelk.setParameter(Zelk::kGain, unit(random));
            plain.gain = zelk.getParameter(Zelk::kGain);
            break;
        case 2:
            zelk.setParameter(Zelk::kMode, zelk.getParameter(Zelk::kMode) < 0.5f ? 1.0f : 0.0f);
            plain.mode = zelk.getParameter(Zelk::kMode);
            break;
        case 3:
            zelk.resume();
            plain.clearState();
            break;
        default:
            break;
        }
        const int frames = block % 50 == 0 ? 0 : blockSize(random);
        const bool inPlace = random() % 2 == 0;
        const bool tiny = block % 97 == 0; // outputs near the flush threshold
        for (int i = 0; i < frames; ++i) {
            inL[i] = audio(random) * (tiny ? 1e-306 : 1.0);
            inR[i] = audio(random) * (tiny ? 1e-306 : 0.5);
        }
        if (random() % 2 == 0) {
            plain.processDouble(inL.data(), inR.data(), refL.data(), refR.data(), frames);
            std::copy(inL.begin(), inL.end(), outL.begin());
            std::copy(inR.begin(), inR.end(), outR.begin());
            double* in[] = {inPlace ? outL.data() : inL.data(), inPlace ? outR.data() : inR.data()};
            double* out[] = {outL.data(), outR.data()};
            zelk.processDoubleReplacing(in, out, frames);
            for (int i = 0; i < frames; ++i) {
                ASSERT_EQ(bitsOf(outL[i]), bitsOf(refL[i])) << "left " << i;
                ASSERT_EQ(bitsOf(outR[i]), bitsOf(refR[i])) << "right " << i;
            }
        } else {
            for (int i = 0; i < frames; ++i) {
                finL[i] = static_cast<float>(inL[i]);
                finR[i] = static_cast<float>(inR[i]);
            }
            plain.processFloat(finL.data(), finR.data(), frefL.data(), frefR.data(), frames);
            std::copy(finL.begin(), finL.end(), foutL.begin());
            std::copy(finR.begin(), finR.end(), foutR.begin());
            float* in[] = {inPlace ? foutL.data() : finL.data(),
                           inPlace ? foutR.data() : finR.data()};
            float* out[] = {foutL.data(), foutR.data()};
            zelk.processReplacing(in, out, frames);
            for (int i = 0; i < frames; ++i) {
                ASSERT_EQ(bitsOf(foutL[i]), bitsOf(frefL[i])) << "left " << i;
                ASSERT_EQ(bitsOf(foutR[i]), bitsOf(frefR[i])) << "right " << i;
            }
        }
    }
}

TEST(ZelkFilter, ImpulseDecaysToExactZero) {
    struct Case {
        float rate;
        float mode;
        int lastNonZeroAtLeast, lastNonZeroAtMost;
    } const cases[] = {
        {44100.f, 0.0f, 85000, 100000},
        {192000.f, 0.0f, 400000, 470000},
        {44100.f, 1.0f, 0, 100000},
    };
    constexpr int kLength = 600000;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, mode " << c.mode);
        auto zelk = makeZelk(c.rate, c.mode);
        std::vector<double> left(kLength, 0.0), right(kLength, 0.0);
        left[0] = right[0] = 1.0;
        processInPlace(*zelk, Precision::Double, left.data(), right.data(), kLength);
        int lastNonZero = -1;
        for (int i = 0; i < kLength; ++i) {
            if (left[i] != 0.0) {
                lastNonZero = i;
            }
        }
        EXPECT_GE(lastNonZero, c.lastNonZeroAtLeast);
        EXPECT_LE(lastNonZero, c.lastNonZeroAtMost);
        // And it stays there: more silence brings nothing back.
        std::vector<double> more(1000, 0.0), other(1000, 0.0);
        processInPlace(*zelk, Precision::Double, more.data(), other.data(), 1000);
        for (double v : more) {
            ASSERT_EQ(bitsOf(v), 0u);
        }
    }
}

// At a rate without a set of its own, block boundaries must not disturb the filter.
TEST(ZelkFilter, SmallBlocksEqualOneBlockAtAnUnsupportedRate) {
    constexpr int kLength = 32000;
    std::vector<double> sine(kLength);
    for (int i = 0; i < kLength; ++i) {
        sine[i] = 0.5 * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / 32000.0);
    }
    for (Precision precision : {Precision::Single, Precision::Double}) {
        SCOPED_TRACE(nameOf(precision));
        auto whole = makeZelk(32000.f);
        auto pieces = makeZelk(32000.f);
        std::vector<double> wl = sine, wr = sine, pl = sine, pr = sine;
        processInPlace(*whole, precision, wl.data(), wr.data(), kLength);
        for (int start = 0; start < kLength; start += 64) {
            processInPlace(*pieces, precision, pl.data() + start, pr.data() + start, 64);
        }
        for (int i = 0; i < kLength; ++i) {
            ASSERT_EQ(bitsOf(pl[i]), bitsOf(wl[i])) << "sample " << i;
        }
        EXPECT_EQ(pieces->getCoefficientRate(), 44100.f);
    }
}

TEST(ZelkFilter, SelectsTheSetForTheHostRate) {
    const struct {
        float hostRate, setRate;
    } cases[] = {
        {192000.f, 192000.f},
        {96000.f, 96000.f},
        {88200.f, 88200.f},
        {48000.f, 48000.f},
        {44100.f, 44100.f},
        {32000.f, 44100.f},
        {44099.f, 44100.f},
        {0.0f, 44100.f},
        {std::numeric_limits<float>::quiet_NaN(), 44100.f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hostRate << " Hz");
        auto zelk = makeZelk(c.hostRate);
        EXPECT_EQ(zelk->getCoefficientRate(), 44100.f); // picked up at the next block only
        // A block of no frames writes nothing but still takes up the rate.
        double left[] = {7.0}, right[] = {7.0};
        double* channels[] = {left, right};
        zelk->processDoubleReplacing(channels, channels, 0);
        EXPECT_EQ(zelk->getCoefficientRate(), c.setRate);
        EXPECT_EQ(left[0], 7.0);
        EXPECT_EQ(right[0], 7.0);
    }
}

// Hosts set the rate while the effect is resumed, and some never send resume at all.
TEST(ZelkFilter, RateChangeTakesEffectAtTheNextBlock) {
    const std::vector<double> first = noise(11, 256), second = noise(12, 256);
    // The second block is that of a fresh 48 kHz filter: new set, cleared state.
    auto fresh = makeZelk(48000.f);
    std::vector<double> fl = second, fr = second;
    processInPlace(*fresh, Precision::Double, fl.data(), fr.data(), 256);

    for (bool resumed : {true, false}) {
        SCOPED_TRACE(resumed ? "resumed" : "never resumed");
        Zelk zelk(nullptr);
        AEffect* record = zelk.getAeffect();
        if (resumed) {
            record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
        }
        std::vector<double> l = first, r = first;
        processInPlace(zelk, Precision::Double, l.data(), r.data(), 256);
        record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 48000.f);
        EXPECT_EQ(zelk.getCoefficientRate(), 44100.f); // not before the next block
        l = second;
        r = second;
        processInPlace(zelk, Precision::Double, l.data(), r.data(), 256);
        EXPECT_EQ(zelk.getCoefficientRate(), 48000.f);
        for (std::size_t i = 0; i < 256; ++i) {
            ASSERT_EQ(bitsOf(l[i]), bitsOf(fl[i])) << "sample " << i;
        }
    }
}

TEST(ZelkFilter, NonFiniteSampleSpoilsOnlyItsOwnBlock) {
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(testing::Message() << "bad sample " << bad);
        const std::vector<double> a = noise(3, 128), b = noise(4, 128);
        auto zelk = makeZelk(44100.f);
        std::vector<double> left = a, right = a;
        left[40] = bad;
        processInPlace(*zelk, Precision::Double, left.data(), right.data(), 128);
        EXPECT_FALSE(std::isfinite(left[40]));
        EXPECT_FALSE(std::isfinite(left[127]));

        // The healthy channel goes on undisturbed; the spoilt one starts afresh.
        reference::PhonoEqualizer healthy, fresh;
        std::vector<double> hl = a, hr = a;
        healthy.processDouble(hl.data(), hr.data(), hl.data(), hr.data(), 128);
        for (std::size_t i = 0; i < 128; ++i) {
            ASSERT_EQ(bitsOf(right[i]), bitsOf(hr[i])) << "sample " << i;
        }
        left = b;
        right = b;
        processInPlace(*zelk, Precision::Double, left.data(), right.data(), 128);
        hl = b;
        hr = b;
        healthy.processDouble(hl.data(), hr.data(), hl.data(), hr.data(), 128);
        std::vector<double> fl = b, fr = b;
        fresh.processDouble(fl.data(), fr.data(), fl.data(), fr.data(), 128);
        for (std::size_t i = 0; i < 128; ++i) {
            ASSERT_EQ(bitsOf(left[i]), bitsOf(fl[i])) << "sample " << i;
            ASSERT_EQ(bitsOf(right[i]), bitsOf(hr[i])) << "sample " << i;
        }
    }
}
