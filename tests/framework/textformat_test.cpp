// Value-to-text conversion: the texts of the five operations, the bound, and the bytes of the
// caller's buffer before and after it.
#include "plaineffect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using FormatEffect = testing_support::PlainEffect;

// Reports a sample rate of its own; the stored rate stays 44100.
class OwnRateEffect : public FormatEffect {
public:
    explicit OwnRateEffect(float rate) noexcept
        : ownRate(rate) {}
    float getSampleRate() noexcept override { return ownRate; }
    float ownRate;
};

// Writes its own mark instead of the digits and keeps the value it was given.
class FloatSpyEffect : public FormatEffect {
public:
    void float2string(float value, char* text, VstInt32 maxLen) noexcept override {
        ++calls;
        lastValue = value;
        std::snprintf(text, static_cast<std::size_t>(maxLen) + 1, "spy");
    }
    int calls = 0;
    float lastValue = 0.0f;
};

using Write = void (*)(AudioEffect& effect, char* text, VstInt32 maxLen);

constexpr char kPattern = '\x5a';
constexpr std::size_t kGuardBytes = 16;

std::string shown(const std::vector<char>& buffer, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count && i < buffer.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(buffer[i]);
        if (byte >= 0x20 && byte < 0x7f) {
            out += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        }
    }
    return out;
}

// Runs `write` on a buffer of maxLen + 1 bytes followed by guard bytes, every byte set to a
// pattern beforehand. The first maxLen + 1 bytes must be `expected` followed by zero bytes up to
// and including position maxLen; the guard must be untouched.
template <typename Call>
::testing::AssertionResult writesExactly(Call write, VstInt32 maxLen, const std::string& expected) {
    const std::size_t bound = static_cast<std::size_t>(maxLen);
    std::vector<char> buffer(bound + 1 + kGuardBytes, kPattern);
    write(buffer.data(), maxLen);
    for (std::size_t i = 0; i <= bound; ++i) {
        const char wanted = i < expected.size() ? expected[i] : '\0';
        if (buffer[i] != wanted) {
            return ::testing::AssertionFailure()
                   << "maxLen " << maxLen << ": byte " << i << " differs; buffer \""
                   << shown(buffer, bound + 1) << "\", expected \"" << expected << "\"";
        }
    }
    for (std::size_t i = bound + 1; i < buffer.size(); ++i) {
        if (buffer[i] != kPattern) {
            return ::testing::AssertionFailure()
                   << "maxLen " << maxLen << ": byte " << i << " after the bound was written; \""
                   << shown(buffer, buffer.size()) << "\"";
        }
    }
    return ::testing::AssertionSuccess();
}

// The text of a call with room to spare.
template <typename Call>
std::string textOf(Call write) {
    char buffer[65];
    std::memset(buffer, kPattern, sizeof buffer);
    write(buffer, 64);
    return std::string(buffer, std::find(buffer, buffer + sizeof buffer, '\0'));
}

struct FloatCase {
    const char* name;
    float value;
    const char* text;
};

void expectFloatTexts(const FloatCase* cases, std::size_t count) {
    FormatEffect effect;
    for (std::size_t i = 0; i < count; ++i) {
        const FloatCase& c = cases[i];
        SCOPED_TRACE(c.name);
        // The text has at most 8 characters, so a larger bound changes nothing.
        for (VstInt32 maxLen : {8, 16}) {
            EXPECT_TRUE(writesExactly(
                [&](char* text, VstInt32 bound) { effect.float2string(c.value, text, bound); },
                maxLen, c.text));
        }
    }
}

TEST(FloatToString, WritesEightCharactersWithDigitsCutOff) {
    const FloatCase cases[] = {
        {"zero", 0.0f, "0.000000"},
        {"negative zero has no sign", -0.0f, "0.000000"},
        {"one", 1.0f, "1.000000"},
        {"minus one", -1.0f, "-1.00000"},
        {"one half", 0.5f, "0.500000"},
        {"minus one half", -0.5f, "-0.50000"},
        {"0.7 lies just below 0.7 and is cut", 0.7f, "0.699999"},
        {"pi to five places", 3.14159f, "3.141590"},
        {"three integer digits", 123.456f, "123.4560"},
        {"negative, two integer digits", -12.5f, "-12.5000"},
        {"five integer digits", 12345.678f, "12345.67"},
        {"seven integer digits end with the point", 1234567.0f, "1234567."},
        {"largest seven-digit value", 9999999.0f, "9999999."},
        {"sign and six digits end with the point", -123456.0f, "-123456."},
        {"just below one is cut, not rounded up", 0.9999999f, "0.999999"},
        {"just below three is cut, not rounded up", 2.9999998f, "2.999999"},
        {"smallest positive value", std::numeric_limits<float>::denorm_min(), "0.000000"},
        {"99999999 is 100000000 as a float", 99999999.0f, "Huge!"},
        {"negative beyond seven digits", -20000000.0f, "Huge!"},
        {"negative just beyond the limit", -10000000.0f, "Huge!"},
        {"infinity", std::numeric_limits<float>::infinity(), "Huge!"},
        {"minus infinity", -std::numeric_limits<float>::infinity(), "Huge!"},
        {"largest float", std::numeric_limits<float>::max(), "Huge!"},
    };
    expectFloatTexts(cases, sizeof cases / sizeof cases[0]);
}

// Eight integer digits (seven after a sign) pass the range test but leave no room for the
// point: they are shown as the digits alone, never more than 8 characters.
TEST(FloatToString, ShowsEightIntegerDigitsWithoutThePoint) {
    const FloatCase cases[] = {
        {"smallest eight-digit value", 10000000.0f, "10000000"},
        {"eight digits", 12345678.0f, "12345678"},
        {"largest float below 10^8", 99999992.0f, "99999992"},
        {"sign and seven digits", -1234567.0f, "-1234567"},
        {"smallest seven-digit negative", -1000000.0f, "-1000000"},
        {"largest negative magnitude", -9999999.0f, "-9999999"},
    };
    expectFloatTexts(cases, sizeof cases / sizeof cases[0]);
}

TEST(FloatToString, WritesNotANumberAsReadableText) {
    const float quiet = std::numeric_limits<float>::quiet_NaN();
    const float negativeNan = -quiet;
    float payloadNan;
    const std::uint32_t bits = 0xffc12345u; // sign set, payload bits
    std::memcpy(&payloadNan, &bits, sizeof payloadNan);
    const FloatCase cases[] = {
        {"quiet NaN", quiet, "NaN"},
        {"negative NaN", negativeNan, "NaN"},
        {"NaN with a payload", payloadNan, "NaN"},
    };
    expectFloatTexts(cases, sizeof cases / sizeof cases[0]);
}

TEST(IntToString, WritesDecimalDigitsOrHuge) {
    struct Case {
        const char* name;
        VstInt32 value;
        const char* text;
    };
    const Case cases[] = {
        {"zero", 0, "0"},
        {"one digit", 7, "7"},
        {"inner zero kept", 10, "10"},
        {"minus one", -1, "-1"},
        {"five digits", 12345, "12345"},
        {"minus five digits", -12345, "-12345"},
        {"largest with a text", 99999999, "99999999"},
        {"limit", 100000000, "Huge!"},
        {"largest 32-bit value", std::numeric_limits<VstInt32>::max(), "Huge!"},
        {"minus eight digits", -99999999, "-99999999"},
        {"minus nine digits", -999999999, "-999999999"},
        {"minus nine digits with zeros", -100000000, "-100000000"},
        // Ten-digit magnitudes keep their leading digit.
        {"minus ten digits", -1000000000, "-1000000000"},
        {"minus ten mixed digits", -1234567890, "-1234567890"},
        {"most negative 32-bit value", std::numeric_limits<VstInt32>::min(), "-2147483648"},
    };
    FormatEffect effect;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(writesExactly(
            [&](char* text, VstInt32 maxLen) { effect.int2string(c.value, text, maxLen); }, 16,
            c.text));
    }
}

TEST(DecibelsToString, WritesTheGainInDecibelsOrMinusInfinity) {
    const FloatCase cases[] = {
        {"unity", 1.0f, "0.000000"},
        {"ten", 10.0f, "20.00000"},
        {"hundred", 100.0f, "40.00000"},
        // With the logarithm in double precision this would be 6.020599.
        {"two, logarithm in single precision", 2.0f, "6.020600"},
        {"one half", 0.5f, "-6.02060"},
        {"one tenth", 0.1f, "-20.0000"},
        {"zero", 0.0f, "-oo"},
        {"negative zero", -0.0f, "-oo"},
        {"negative gain", -1.0f, "-oo"},
        {"minus infinity", -std::numeric_limits<float>::infinity(), "-oo"},
        {"infinity", std::numeric_limits<float>::infinity(), "Huge!"},
        {"NaN", std::numeric_limits<float>::quiet_NaN(), "NaN"},
    };
    FormatEffect effect;
    for (const FloatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(writesExactly(
            [&](char* text, VstInt32 maxLen) { effect.dB2string(c.value, text, maxLen); }, 8,
            c.text));
    }
}

TEST(SamplesToString, WritesFrequencyAndMillisecondsAtTheStoredRate) {
    struct Case {
        const char* name;
        Write write;
        const char* text;
    };
    const Case cases[] = {
        {"Hz 100 samples", [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(100.0f, t, n); },
         "441.0000"},
        {"Hz 1 sample", [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(1.0f, t, n); },
         "44100.00"},
        {"Hz 44100 samples",
         [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(44100.0f, t, n); }, "1.000000"},
        {"Hz 0 samples", [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(0.0f, t, n); },
         "0.000000"},
        {"Hz -0 samples", [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(-0.0f, t, n); },
         "0.000000"},
        {"ms 441 samples", [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(441.0f, t, n); },
         "10.00000"},
        {"ms 44100 samples",
         [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(44100.0f, t, n); }, "1000.000"},
        {"ms 1 sample", [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(1.0f, t, n); },
         "0.022675"},
        {"ms 0 samples", [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(0.0f, t, n); },
         "0.000000"},
        // Computed in single precision this would be 2.129589.
        {"ms in double precision",
         [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(93.9149169921875f, t, n); },
         "2.129590"},
    };
    FormatEffect effect;
    effect.setSampleRate(44100.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(writesExactly(
            [&](char* text, VstInt32 maxLen) { c.write(effect, text, maxLen); }, 8, c.text));
    }
}

TEST(SamplesToString, FollowsAnOverriddenSampleRate) {
    struct Case {
        const char* name;
        float rate;
        Write write;
        const char* text;
    };
    const Case cases[] = {
        {"Hz at 48000", 48000.0f,
         [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(480.0f, t, n); }, "100.0000"},
        {"ms at 48000", 48000.0f,
         [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(48.0f, t, n); }, "1.000000"},
        {"Hz at 96000", 96000.0f,
         [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(1.0f, t, n); }, "96000.00"},
        // A rate of 0 is guarded in neither operation.
        {"Hz at rate 0", 0.0f,
         [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(100.0f, t, n); }, "0.000000"},
        {"ms at rate 0", 0.0f, [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(1.0f, t, n); },
         "Huge!"},
        {"ms of 0 samples at rate 0", 0.0f,
         [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(0.0f, t, n); }, "NaN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnRateEffect effect(c.rate);
        effect.setSampleRate(44100.0f);
        EXPECT_TRUE(writesExactly(
            [&](char* text, VstInt32 maxLen) { c.write(effect, text, maxLen); }, 8, c.text));
    }
}

// An effect that overrides float2string changes the texts of the three that call it.
TEST(ValueToString, CallsTheEffectsOwnFloatToString) {
    struct Case {
        const char* name;
        Write write;
        float passed;
    };
    const Case cases[] = {
        {"dB of 10", [](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(10.0f, t, n); }, 20.0f},
        {"Hz of 100 samples",
         [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(100.0f, t, n); }, 441.0f},
        {"ms of 441 samples",
         [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(441.0f, t, n); }, 10.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FloatSpyEffect effect;
        effect.setSampleRate(44100.0f);
        EXPECT_EQ(textOf([&](char* t, VstInt32 n) { c.write(effect, t, n); }), "spy");
        EXPECT_EQ(effect.calls, 1);
        EXPECT_EQ(effect.lastValue, c.passed);
    }

    // "-oo" is written without it.
    FloatSpyEffect effect;
    EXPECT_EQ(textOf([&](char* t, VstInt32 n) { effect.dB2string(0.0f, t, n); }), "-oo");
    EXPECT_EQ(effect.calls, 0);
}

TEST(ValueToString, CutsTheTextAtTheBound) {
    struct Case {
        const char* name;
        Write write;
        VstInt32 maxLen;
        const char* text;
    };
    const Case cases[] = {
        {"float digits and point",
         [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(123.456f, t, n); }, 4, "123."},
        {"float fraction cut",
         [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(0.5f, t, n); }, 4, "0.50"},
        {"float negative cut",
         [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(-12.5f, t, n); }, 4, "-12."},
        {"int digits cut", [](AudioEffect& e, char* t, VstInt32 n) { e.int2string(12345, t, n); },
         4, "1234"},
        {"int sign and digits cut",
         [](AudioEffect& e, char* t, VstInt32 n) { e.int2string(-12345, t, n); }, 4, "-123"},
        {"int ten digits cut",
         [](AudioEffect& e, char* t, VstInt32 n) {
             e.int2string(std::numeric_limits<VstInt32>::min(), t, n);
         },
         8, "-2147483"},
        {"dB minus infinity cut",
         [](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(0.0f, t, n); }, 2, "-o"},
        {"dB digits cut", [](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(0.5f, t, n); }, 3,
         "-6."},
        {"Hz digits cut", [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(1.0f, t, n); }, 4,
         "4410"},
        {"ms digits cut", [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(441.0f, t, n); }, 3,
         "10."},
        {"float huge cut",
         [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(1000000000.0f, t, n); }, 3,
         "Hug"},
        {"int huge cut",
         [](AudioEffect& e, char* t, VstInt32 n) { e.int2string(1000000000, t, n); }, 3, "Hug"},
        {"float NaN cut",
         [](AudioEffect& e, char* t, VstInt32 n) {
             e.float2string(std::numeric_limits<float>::quiet_NaN(), t, n);
         },
         2, "Na"},
        {"float empty at 0",
         [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(123.456f, t, n); }, 0, ""},
        {"float huge empty at 0",
         [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(1e30f, t, n); }, 0, ""},
        {"int empty at 0", [](AudioEffect& e, char* t, VstInt32 n) { e.int2string(-12345, t, n); },
         0, ""},
        {"dB empty at 0", [](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(0.0f, t, n); }, 0,
         ""},
        {"Hz empty at 0", [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(100.0f, t, n); }, 0,
         ""},
        {"ms empty at 0", [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(441.0f, t, n); }, 0,
         ""},
    };
    FormatEffect effect;
    effect.setSampleRate(44100.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(writesExactly(
            [&](char* text, VstInt32 maxLen) { c.write(effect, text, maxLen); }, c.maxLen, c.text));
    }
}

// A negative bound leaves no room in the buffer: nothing at all is written.
TEST(ValueToString, WritesNothingForANegativeBound) {
    const Write writes[] = {
        [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(0.5f, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.float2string(1e30f, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.int2string(-12345, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.int2string(100000000, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(0.0f, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(2.0f, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(100.0f, t, n); },
        [](AudioEffect& e, char* t, VstInt32 n) { e.Ms2string(441.0f, t, n); },
    };
    FormatEffect effect;
    for (std::size_t i = 0; i < sizeof writes / sizeof writes[0]; ++i) {
        SCOPED_TRACE("operation " + std::to_string(i));
        for (VstInt32 maxLen : {-1, std::numeric_limits<VstInt32>::min()}) {
            char buffer[16];
            std::memset(buffer, kPattern, sizeof buffer);
            writes[i](effect, buffer, maxLen);
            for (char byte : buffer) {
                ASSERT_EQ(byte, kPattern) << "maxLen " << maxLen;
            }
        }
    }
}

// What float2string must write, found without its arithmetic: the first 8 characters of the
// exact decimal expansion of the value (which "%.150f" prints in full for every float).
std::string expectedFloatText(float value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    const bool negative = value < 0.0f;
    const double magnitude = std::fabs(static_cast<double>(value));
    if (negative ? magnitude > 9999999.0 : magnitude > 99999999.0) {
        return "Huge!";
    }
    char exact[256];
    std::snprintf(exact, sizeof exact, "%s%.150f", negative ? "-" : "", magnitude);
    return std::string(exact, 8);
}

float randomFloat(std::mt19937& random) {
    switch (random() % 4) {
    case 0: { // any bit pattern: NaNs, infinities, subnormals, huge values
        const std::uint32_t bits = static_cast<std::uint32_t>(random());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 1: // around both range limits
        return std::uniform_real_distribution<float>(-1.2e8f, 1.2e8f)(random);
    case 2: // around the limit of negative values and the eight-digit ones
        return std::uniform_real_distribution<float>(-1.2e7f, 1.2e7f)(random);
    default: { // every decade from 10^-9 to 10^9, either sign
        const float magnitude =
            std::pow(10.0f, std::uniform_real_distribution<float>(-9.0f, 9.0f)(random));
        return random() % 2 == 0 ? magnitude : -magnitude;
    }
    }
}

VstInt32 randomInt(std::mt19937& random) {
    switch (random() % 3) {
    case 0:
        return static_cast<VstInt32>(random());
    case 1: // around the limits of 10^8 and the ten-digit negatives
        return std::uniform_int_distribution<VstInt32>(-1100000000, 110000000)(random);
    default: // short numbers and the extremes
        return std::uniform_int_distribution<VstInt32>(-1000, 1000)(random) +
               (random() % 8 == 0 ? std::numeric_limits<VstInt32>::min() + 1000 : 0);
    }
}

constexpr int kIterations = 20000;

VstInt32 randomBound(std::mt19937& random) {
    return std::uniform_int_distribution<VstInt32>(0, 24)(random);
}

TEST(FloatToString, HoldsItsTextAndBoundForRandomValues) {
    std::mt19937 random(20240611u);
    FormatEffect effect;
    for (int i = 0; i < kIterations; ++i) {
        const float value = randomFloat(random);
        const VstInt32 maxLen = randomBound(random);
        const auto write = [&](char* text, VstInt32 bound) {
            effect.float2string(value, text, bound);
        };
        const std::string full = textOf(write);
        ASSERT_LE(full.size(), 8u) << "value " << value;
        ASSERT_EQ(full, expectedFloatText(value)) << "value " << value;
        ASSERT_TRUE(writesExactly(write, maxLen, full.substr(0, static_cast<std::size_t>(maxLen))))
            << "value " << value;
    }
}

TEST(IntToString, HoldsItsTextAndBoundForRandomValues) {
    std::mt19937 random(7321u);
    FormatEffect effect;
    for (int i = 0; i < kIterations; ++i) {
        const VstInt32 value = randomInt(random);
        const VstInt32 maxLen = randomBound(random);
        const auto write = [&](char* text, VstInt32 bound) {
            effect.int2string(value, text, bound);
        };
        const std::string full = textOf(write);
        ASSERT_EQ(full, value >= 100000000 ? std::string("Huge!") : std::to_string(value))
            << "value " << value;
        ASSERT_TRUE(writesExactly(write, maxLen, full.substr(0, static_cast<std::size_t>(maxLen))))
            << "value " << value;
    }
}

TEST(ValueToString, HoldsTheBoundForRandomGainsPeriodsAndRates) {
    using ValueWrite = void (*)(AudioEffect & effect, float value, char* text, VstInt32 maxLen);
    const ValueWrite writes[] = {
        [](AudioEffect& e, float v, char* t, VstInt32 n) { e.dB2string(v, t, n); },
        [](AudioEffect& e, float v, char* t, VstInt32 n) { e.Hz2string(v, t, n); },
        [](AudioEffect& e, float v, char* t, VstInt32 n) { e.Ms2string(v, t, n); },
    };
    std::mt19937 random(99u);
    OwnRateEffect effect(44100.0f);
    for (int i = 0; i < kIterations; ++i) {
        const float value = randomFloat(random);
        effect.ownRate = random() % 4 == 0
                             ? randomFloat(random)
                             : std::uniform_real_distribution<float>(8000.0f, 384000.0f)(random);
        const VstInt32 maxLen = randomBound(random);
        const ValueWrite write = writes[random() % 3];
        const auto call = [&](char* text, VstInt32 bound) { write(effect, value, text, bound); };
        const std::string full = textOf(call);
        ASSERT_LE(full.size(), 8u) << "value " << value << " rate " << effect.ownRate;
        ASSERT_TRUE(writesExactly(call, maxLen, full.substr(0, static_cast<std::size_t>(maxLen))))
            << "value " << value << " rate " << effect.ownRate;
    }
}

} // namespace
