// Zelk's parameters, program name and texts, on Zelk objects built directly.
#include "zelk.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr char kGuard = '\x5A';

// A host buffer full of guard bytes; `written()` counts how far the effect wrote.
struct HostBuffer {
    std::array<char, 96> bytes;
    HostBuffer() { bytes.fill(kGuard); }
    char* data() { return bytes.data(); }
    std::string text() const { return std::string(bytes.data()); }
    std::size_t written() const {
        std::size_t last = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != kGuard) {
                last = i + 1;
            }
        }
        return last;
    }
    bool untouched() const { return written() == 0; }
};

std::string display(Zelk& zelk, VstInt32 index) {
    HostBuffer buffer;
    zelk.getParameterDisplay(index, buffer.data());
    return buffer.text();
}

} // namespace

TEST(ZelkParameters, ModeIsAThreshold) {
    const struct {
        float value;
        float fromRegular, fromInverse;
    } cases[] = {
        {-1.0f, 0, 0}, {0.0f, 0, 0},  {0.25f, 0, 0}, {0.49999997f, 0, 0},
        {0.5f, 1, 1},  {0.75f, 1, 1}, {1.0f, 1, 1},  {2.0f, 1, 1},
        {-kInf, 0, 0}, {kInf, 1, 1},  {kNaN, 0, 1}, // a NaN leaves the mode as it was
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        Zelk zelk(nullptr);
        zelk.setParameter(Zelk::kMode, c.value);
        EXPECT_EQ(zelk.getParameter(Zelk::kMode), c.fromRegular);
        zelk.setParameter(Zelk::kMode, 1.0f);
        zelk.setParameter(Zelk::kMode, c.value);
        EXPECT_EQ(zelk.getParameter(Zelk::kMode), c.fromInverse);
    }
}

TEST(ZelkParameters, SliderSweepSwitchesTheModeOnce) {
    Zelk zelk(nullptr);
    int switches = 0;
    float previous = zelk.getParameter(Zelk::kMode);
    for (int step = 1; step < 1000; ++step) { // strictly between 0 and 1
        zelk.setParameter(Zelk::kMode, static_cast<float>(step) / 1000.0f);
        const float mode = zelk.getParameter(Zelk::kMode);
        ASSERT_TRUE(mode == 0.0f || mode == 1.0f);
        switches += mode != previous ? 1 : 0;
        previous = mode;
    }
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(display(zelk, Zelk::kMode), "inverse");
}

TEST(ZelkParameters, GainIsStoredUnlessNotFinite) {
    Zelk zelk(nullptr);
    EXPECT_EQ(zelk.getParameter(Zelk::kGain), 0.5f);
    for (float value : {0.123f, 2.0f, -1.0f, 0.0f, 1.0f}) {
        zelk.setParameter(Zelk::kGain, value);
        EXPECT_EQ(zelk.getParameter(Zelk::kGain), value);
    }
    for (float bad : {kNaN, kInf, -kInf}) {
        zelk.setParameter(Zelk::kGain, bad);
        EXPECT_EQ(zelk.getParameter(Zelk::kGain), 1.0f) << bad;
    }
}

TEST(ZelkParameters, OtherIndicesAreIgnored) {
    Zelk zelk(nullptr);
    for (VstInt32 index : {2, -1, 1000}) {
        SCOPED_TRACE(testing::Message() << "index " << index);
        zelk.setParameter(index, 0.9f);
        EXPECT_EQ(zelk.getParameter(index), 0.0f);
        EXPECT_EQ(zelk.getParameter(Zelk::kGain), 0.5f);
        EXPECT_EQ(zelk.getParameter(Zelk::kMode), 0.0f);
        HostBuffer name, label, text;
        zelk.getParameterName(index, name.data());
        zelk.getParameterLabel(index, label.data());
        zelk.getParameterDisplay(index, text.data());
        EXPECT_TRUE(name.untouched());
        EXPECT_TRUE(label.untouched());
        EXPECT_TRUE(text.untouched());
    }
}

TEST(ZelkParameters, NamesLabelsAndModeTexts) {
    Zelk zelk(nullptr);
    const struct {
        const char* what;
        void (Zelk::*operation)(VstInt32, char*) noexcept;
        VstInt32 index;
        const char* text;
    } cases[] = {
        {"name", &Zelk::getParameterName, Zelk::kGain, "Gain"},
        {"name", &Zelk::getParameterName, Zelk::kMode, "Mode"},
        {"label", &Zelk::getParameterLabel, Zelk::kGain, "dB"},
        {"label", &Zelk::getParameterLabel, Zelk::kMode, "Zelk"},
        {"display", &Zelk::getParameterDisplay, Zelk::kMode, "regular"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << " " << c.index);
        HostBuffer buffer;
        (zelk.*c.operation)(c.index, buffer.data());
        EXPECT_EQ(buffer.text(), c.text);
        EXPECT_EQ(buffer.written(), std::strlen(c.text) + 1); // the text and its terminator
    }
    zelk.setParameter(Zelk::kMode, 1.0f);
    EXPECT_EQ(display(zelk, Zelk::kMode), "inverse");
}

TEST(ZelkParameters, GainDisplayInDecibels) {
    const struct {
        float gain;
        const char* text;
    } cases[] = {
        {0.0f, "-20"},
        {0.25f, "-10"},
        {0.5f, "0"},
        {1.0f, "20"},
        {0.123f, "-15.08"},
        {0.3f, "-8"}, // 0.3 x 40 rounds to exactly 12 in single precision
        {0.1f, "-16"},
        {2.0f, "60"},
        {-1.0f, "-60"},
        // Where "%g" needs more than the host's 8 characters, fewer significant digits.
        {0.50000006f, "1.91e-06"}, // 1.9073486e-06, "%g" 1.90735e-06
        {0.49999997f, "-1.9e-06"}, // -1.9073486e-06
        {0.4999952f, "-0.00019"},  // -0.00019264221
        {0.49999f, "-0.0004"},     // -0.00040054321
        {0.50001f, "0.000401"},    // 0.00040054321
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "gain " << c.gain);
        Zelk zelk(nullptr);
        zelk.setParameter(Zelk::kGain, c.gain);
        HostBuffer buffer;
        zelk.getParameterDisplay(Zelk::kGain, buffer.data());
        EXPECT_EQ(buffer.text(), c.text);
        EXPECT_EQ(buffer.written(), std::strlen(c.text) + 1);
    }
}

// Every gain the host can reach displays within 8 characters: the "%g" text when that fits,
// otherwise the same value with the most significant digits that do.
TEST(ZelkParameters, GainDisplayNeverExceedsTheHostLimit) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> anyGain(-2.0f, 3.0f);
    float nearHalf = 0.4999f;
    for (int i = 0; i < 20000; ++i) {
        // Half of them walk float by float across 0.5, where the decibel value is tiny.
        const float gain =
            i % 2 == 0 ? anyGain(random) : (nearHalf = std::nextafter(nearHalf, 1.0f));
        Zelk zelk(nullptr);
        zelk.setParameter(Zelk::kGain, gain);
        HostBuffer buffer;
        zelk.getParameterDisplay(Zelk::kGain, buffer.data());
        const std::string text = buffer.text();
        ASSERT_LE(text.size(), static_cast<std::size_t>(kVstMaxParamStrLen)) << gain;
        ASSERT_EQ(buffer.written(), text.size() + 1) << gain;

        const double decibels = static_cast<double>(gain * 40.0f - 20.0f);
        char full[32];
        std::snprintf(full, sizeof full, "%g", decibels);
        if (std::strlen(full) <= static_cast<std::size_t>(kVstMaxParamStrLen)) {
            ASSERT_EQ(text, full) << gain;
            continue;
        }
        int digits = 5;
        char shorter[32];
        for (; digits >= 1; --digits) {
            std::snprintf(shorter, sizeof shorter, "%.*g", digits, decibels);
            if (std::strlen(shorter) <= static_cast<std::size_t>(kVstMaxParamStrLen)) {
                break;
            }
        }
        ASSERT_EQ(text, shorter) << gain;
        ASSERT_LT(std::fabs(std::strtod(text.c_str(), nullptr) - decibels),
                  std::fabs(decibels) * 0.05)
            << gain;
    }
}

TEST(ZelkProgram, NameIsCutTo24Characters) {
    Zelk zelk(nullptr);
    HostBuffer initial;
    zelk.getProgramName(initial.data());
    EXPECT_EQ(initial.text(), "Default");
    EXPECT_EQ(initial.written(), 25u);

    zelk.setProgramName("abcdefghijklmnopqrstuvwxyz0123"); // 30 characters
    HostBuffer cut;
    zelk.getProgramName(cut.data());
    EXPECT_EQ(cut.text(), "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(cut.written(), 25u); // 24 characters and a zero byte
    EXPECT_EQ(cut.bytes[24], '\0');
    EXPECT_EQ(cut.bytes[25], kGuard);

    zelk.setProgramName("");
    HostBuffer empty;
    zelk.getProgramName(empty.data());
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(empty.bytes[static_cast<std::size_t>(i)], '\0') << i;
    }
    EXPECT_EQ(empty.bytes[25], kGuard);
}

TEST(ZelkTexts, EffectProductAndVendor) {
    Zelk zelk(nullptr);
    const struct {
        const char* what;
        bool (Zelk::*operation)(char*) noexcept;
        const char* text;
        std::size_t bytes;
    } cases[] = {
        {"effect name", &Zelk::getEffectName, "Zelk", 33},
        {"product", &Zelk::getProductString, "Zelk v1.1.0", 65},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostBuffer buffer;
        EXPECT_TRUE((zelk.*c.operation)(buffer.data()));
        EXPECT_EQ(buffer.text(), c.text);
        for (std::size_t i = std::strlen(c.text); i < c.bytes; ++i) {
            EXPECT_EQ(buffer.bytes[i], '\0') << i;
        }
        EXPECT_EQ(buffer.bytes[c.bytes], kGuard);
    }
    // A person's name, ", " and a web address: 31 characters, then zeros up to 65 bytes.
    HostBuffer vendor;
    EXPECT_TRUE(zelk.getVendorString(vendor.data()));
    const std::string text = vendor.text();
    EXPECT_EQ(text.size(), 31u);
    EXPECT_NE(text.find(", "), std::string::npos);
    EXPECT_NE(text.find("https://"), std::string::npos);
    EXPECT_EQ(vendor.bytes[64], '\0');
    EXPECT_EQ(vendor.bytes[65], kGuard);
    EXPECT_EQ(zelk.getVendorVersion(), 1100);
}
