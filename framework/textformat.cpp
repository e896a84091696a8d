// Value-to-text conversion: numbers as short parameter texts, written into the caller's buffer of
// maxLen + 1 bytes. Every text goes through the bounded copy and the bounded append, so the
// buffer ends up holding the text cut to maxLen characters and zero bytes up to and including
// position maxLen, and nothing after that position is touched.
#include "audioeffect.h"

#include "textcopy.h"

#include <cmath>   // std::floor, std::fmod, std::isnan, std::log10
#include <cstddef> // std::size_t
#include <cstdint> // std::int64_t

namespace {

constexpr const char* kHugeText = "Huge!";
constexpr const char* kMinusInfinityText = "-oo";
// A NaN has no digits to show; this is what the display says instead.
constexpr const char* kNotANumberText = "NaN";

// float2string: 8 characters counting sign, digits and point.
constexpr int kFloatTextWidth = 8;
// The largest magnitudes that float2string writes as digits.
constexpr double kLargestNonNegative = 99999999.0;
constexpr double kLargestNegativeMagnitude = 9999999.0;
// Within those limits the integer part has at most 8 digits.
constexpr int kMaxIntegerDigits = 8;
// 10^n for the fraction digits, exact in double precision.
constexpr double kPowersOfTen[kFloatTextWidth] = {1.0,     10.0,     100.0,     1000.0,
                                                  10000.0, 100000.0, 1000000.0, 10000000.0};

// int2string: from this value up the text is "Huge!".
constexpr VstInt32 kIntegerLimit = 100000000;
// The digit places of int2string. They reach 10^9 because the magnitude of a negative value can
// have ten digits; for every other value the top places give leading zeros, which are left out.
constexpr std::int64_t kTopPlace = 1000000000;
// Ten digits and the terminator.
constexpr std::size_t kIntegerTextSize = 11;

// The bounded copy and append with the caller's bound. A negative bound leaves no room at all
// (the buffer would hold maxLen + 1 bytes, none), so nothing is written.
void writeText(char* text, const char* source, VstInt32 maxLen) noexcept {
    if (maxLen < 0) {
        return;
    }
    copyBounded(text, source, static_cast<std::size_t>(maxLen));
}

void appendText(char* text, const char* source, VstInt32 maxLen) noexcept {
    if (maxLen < 0) {
        return;
    }
    appendBounded(text, source, static_cast<std::size_t>(maxLen));
}

// The decimal digit of a remainder in [0, 10): its integer part.
char digitOf(double remainder) noexcept {
    return static_cast<char>('0' + static_cast<int>(remainder));
}

} // namespace

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) noexcept {
    if (value <= 0.0f) {
        writeText(text, kMinusInfinityText, maxLen);
        return;
    }
    // The logarithm in single precision, the factor 20 in double precision.
    const float logarithm = std::log10(value);
    float2string(static_cast<float>(20.0 * static_cast<double>(logarithm)), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) noexcept {
    const float rate = getSampleRate();
    float frequency = 0.0f;
    if (samples != 0.0f) {
        frequency = rate / samples;
    }
    float2string(frequency, text, maxLen);
}

void AudioEffect::Ms2string(float samples, char* text, VstInt32 maxLen) noexcept {
    // A rate of 0 is not guarded: a nonzero count then gives infinity and "Huge!".
    const float rate = getSampleRate();
    const double milliseconds = static_cast<double>(samples) * 1000.0 / static_cast<double>(rate);
    float2string(static_cast<float>(milliseconds), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) noexcept {
    double v = value;
    if (std::isnan(v)) {
        writeText(text, kNotANumberText, maxLen);
        return;
    }
    // Negative zero is written as zero, without a sign.
    const bool negative = v < 0.0;
    int count = 0;
    if (negative) {
        v = -v;
        count = 1;
    }
    if (negative ? v > kLargestNegativeMagnitude : v > kLargestNonNegative) {
        writeText(text, kHugeText, maxLen);
        return;
    }

    // Integer digits, least significant first; each division by 10 is a plain one, the digit
    // is the integer part of the remainder.
    char digits[kMaxIntegerDigits];
    int numDigits = 0;
    double integer = std::floor(v);
    digits[numDigits++] = digitOf(std::fmod(integer, 10.0));
    integer /= 10.0;
    while (integer >= 1.0 && numDigits < kMaxIntegerDigits) {
        digits[numDigits++] = digitOf(std::fmod(integer, 10.0));
        integer /= 10.0;
    }
    count += numDigits + 1; // the digits and the point

    // Sign, digits and point; the point is left out when it would be the ninth character, so
    // that eight integer digits (seven after a sign) are shown as they are.
    char integerText[1 + kMaxIntegerDigits + 2];
    std::size_t length = 0;
    if (negative) {
        integerText[length++] = '-';
    }
    for (int i = numDigits - 1; i >= 0; --i) {
        integerText[length++] = digits[i];
    }
    if (count <= kFloatTextWidth) {
        integerText[length++] = '.';
    }
    integerText[length] = '\0';
    writeText(text, integerText, maxLen);
    if (count >= kFloatTextWidth) {
        return;
    }

    // The fraction fills the text up to its width, its digits cut off, never rounded.
    const int numFraction = kFloatTextWidth - count;
    double fraction = std::fmod(v, 1.0) * kPowersOfTen[numFraction];
    char fractionText[kFloatTextWidth + 1];
    fractionText[numFraction] = '\0';
    for (int i = numFraction - 1; i >= 0; --i) {
        if (fraction <= 0.0) {
            fractionText[i] = '0';
        } else {
            fractionText[i] = digitOf(std::fmod(fraction, 10.0));
            fraction /= 10.0;
        }
    }
    appendText(text, fractionText, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) noexcept {
    if (value >= kIntegerLimit) {
        writeText(text, kHugeText, maxLen);
        return;
    }
    // The magnitude in 64 bits: the most negative 32-bit value has no 32-bit negation.
    std::int64_t rest = value;
    if (rest < 0) {
        writeText(text, "-", maxLen);
        rest = -rest;
    } else {
        writeText(text, "", maxLen);
    }

    char digits[kIntegerTextSize];
    std::size_t numDigits = 0;
    for (std::int64_t place = kTopPlace; place >= 1; place /= 10) {
        const std::int64_t digit = rest / place;
        rest %= place;
        if (digit > 0 || numDigits > 0 || place == 1) {
            digits[numDigits++] = static_cast<char>('0' + digit);
        }
    }
    digits[numDigits] = '\0';
    appendText(text, digits, maxLen);
}
