#include "zelk.h"

#include "coefficients.h"
#include "textcopy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr const char* kEffectName = "Zelk";
constexpr const char* kProductString = "Zelk v1.1.0";
constexpr const char* kVendorString = "Ivo Marsh, https://zelk.example";
constexpr VstInt32 kVendorVersion = 1100;

// Writes a fixed text with its terminator.
template <std::size_t N>
void writeText(char* destination, const char (&text)[N]) noexcept {
    std::memcpy(destination, text, N);
}

bool sameRate(float a, float b) noexcept {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) noexcept {
    return new (std::nothrow) Zelk(audioMaster);
}

Zelk::Zelk(audioMasterCallback callback) noexcept
    : AudioEffectX(callback, 1, kNumParams)
    , gain(0.5f)
    , mode(0.0f)
    , filter()
    , coefficientRate(0.0f)
    , selectedForRate(44100.0f)
    , programName() {
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(fourCharCode('Z', 'k', 'q', 'h'));
    canProcessReplacing(true);
    canDoubleReplacing(true);
    coefficientRate = selectCoefficients(44100.0f);
    copyBounded(programName, "Default", kVstMaxProgNameLen);
}

Zelk::~Zelk() = default;

float Zelk::selectCoefficients(float rate) noexcept {
    clearHistory();
    const CoefficientSet* set = &kCoefficientSets[0];
    for (const CoefficientSet& candidate : kCoefficientSets) {
        if (candidate.rate == rate) {
            set = &candidate;
        }
    }
    filter.denominator[0] = 1.0;
    filter.denominator[1] = set->a1;
    filter.denominator[2] = set->a2;
    filter.numerator[0] = 1.0;
    filter.numerator[1] = set->b1;
    filter.numerator[2] = set->b2;
    return set->rate;
}

void Zelk::clearHistory() noexcept {
    filter.clear();
}

void Zelk::resume() noexcept {
    clearHistory();
    AudioEffectX::resume();
}

void Zelk::followSampleRate() noexcept {
    // Only a change reselects: a rate without a set of its own keeps its state from block to
    // block.
    const float rate = getSampleRate();
    if (!sameRate(rate, selectedForRate)) {
        coefficientRate = selectCoefficients(rate);
        selectedForRate = rate;
    }
}

void Zelk::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    const float decibels = gain * 40.0f - 20.0f;
    const auto g = static_cast<float>(std::pow(10.0, static_cast<double>(decibels) * 0.05));
    processBlock(inputs, outputs, sampleFrames, g);
}

void Zelk::processDoubleReplacing(double** inputs, double** outputs,
                                  VstInt32 sampleFrames) noexcept {
    const double decibels = static_cast<double>(gain) * 40.0 - 20.0;
    const double g = std::pow(10.0, decibels * 0.05);
    processBlock(inputs, outputs, sampleFrames, g);
}

namespace {

// The frames of one block in one mode: the mode is a template argument, so that the per-frame
// code has no mode test. Both inputs of a frame are read before its outputs are written, so the
// buffers may be the same.
template <void (PhonoSection::*step)() noexcept, typename Sample>
void runFrames(PhonoSection& section, Sample** inputs, Sample** outputs, VstInt32 sampleFrames,
               Sample g, double scale) noexcept {
    const Sample* inLeft = inputs[0];
    const Sample* inRight = inputs[1];
    Sample* outLeft = outputs[0];
    Sample* outRight = outputs[1];
    for (VstInt32 i = 0; i < sampleFrames; ++i) {
        section.inputHistory[0][2] = static_cast<double>(g * inLeft[i]);
        section.inputHistory[1][2] = static_cast<double>(g * inRight[i]);
        (section.*step)();
        outLeft[i] = static_cast<Sample>(section.currentOutput(0) * scale);
        outRight[i] = static_cast<Sample>(section.currentOutput(1) * scale);
    }
}

} // namespace

template <typename Sample>
void Zelk::processBlock(Sample** inputs, Sample** outputs, VstInt32 sampleFrames,
                        Sample g) noexcept {
    followSampleRate();
    // The state is worked on in a local copy, which the compiler may keep in registers: the
    // output buffers cannot alias it. The mode holds for the whole block.
    PhonoSection section = filter;
    if (mode < 0.5f) {
        runFrames<&PhonoSection::stepRegular>(section, inputs, outputs, sampleFrames, g,
                                              kRegularScale);
    } else {
        runFrames<&PhonoSection::stepInverse>(section, inputs, outputs, sampleFrames, g,
                                              kInverseScale);
    }
    section.clearNonFinite();
    filter = section;
}

// Parameters, names and texts.

void Zelk::setParameter(VstInt32 index, float value) noexcept {
    switch (index) {
    case kGain:
        if (std::isfinite(value)) { // a non-finite gain would silence the effect into NaN
            gain = value;
        }
        break;
    case kMode:
        // A threshold, not a toggle: hosts draw the mode as a slider and automate it with any
        // value in between. A NaN leaves the mode as it is.
        if (value < 0.5f) {
            mode = 0.0f;
        } else if (value >= 0.5f) {
            mode = 1.0f;
        }
        break;
    default:
        break;
    }
}

float Zelk::getParameter(VstInt32 index) noexcept {
    switch (index) {
    case kGain:
        return gain;
    case kMode:
        return mode;
    default:
        return 0.0f;
    }
}

void Zelk::setProgramName(const char* name) noexcept {
    copyBounded(programName, name, kVstMaxProgNameLen);
}

void Zelk::getProgramName(char* name) noexcept {
    copyBounded(name, programName, kVstMaxProgNameLen);
}

void Zelk::getParameterLabel(VstInt32 index, char* label) noexcept {
    if (index == kGain) {
        writeText(label, "dB");
    } else if (index == kMode) {
        writeText(label, "Zelk");
    }
}

void Zelk::getParameterDisplay(VstInt32 index, char* text) noexcept {
    if (index == kGain) {
        // The "%g" text of the decibel value; where that exceeds the host's 8 characters, the
        // same value with fewer significant digits.
        const float decibels = gain * 40.0f - 20.0f;
        char formatted[32];
        int length = 0;
        for (int digits = 6; digits >= 1; --digits) {
            length = std::snprintf(formatted, sizeof formatted, "%.*g", digits,
                                   static_cast<double>(decibels));
            if (length >= 0 && length <= kVstMaxParamStrLen) {
                break;
            }
        }
        const auto count =
            static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(kVstMaxParamStrLen)));
        std::memcpy(text, formatted, count);
        text[count] = '\0';
    } else if (index == kMode) {
        if (mode < 0.5f) {
            writeText(text, "regular");
        } else {
            writeText(text, "inverse");
        }
    }
}

void Zelk::getParameterName(VstInt32 index, char* text) noexcept {
    if (index == kGain) {
        writeText(text, "Gain");
    } else if (index == kMode) {
        writeText(text, "Mode");
    }
}

bool Zelk::getEffectName(char* name) noexcept {
    copyBounded(name, kEffectName, kVstMaxEffectNameLen);
    return true;
}

bool Zelk::getVendorString(char* text) noexcept {
    copyBounded(text, kVendorString, kVstMaxVendorStrLen);
    return true;
}

bool Zelk::getProductString(char* text) noexcept {
    copyBounded(text, kProductString, kVstMaxProductStrLen);
    return true;
}

VstInt32 Zelk::getVendorVersion() noexcept {
    return kVendorVersion;
}
