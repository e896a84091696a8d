// Zelk: a stereo phonograph-record equalizer. Mode "regular" applies the playback de-emphasis
// curve (3180 us, 318 us, 75 us), mode "inverse" the recording pre-emphasis, after an input
// gain of -20 dB to +20 dB. One program, two automatable parameters, no editor, no MIDI.
#pragma once

#include "audioeffectx.h"
#include "phonosection.h"

class Zelk : public AudioEffectX {
public:
    enum : VstInt32 { kGain = 0, kMode = 1, kNumParams = 2 };

    explicit Zelk(audioMasterCallback audioMaster) noexcept;
    ~Zelk() override;

    // Clears the filter state.
    void resume() noexcept override;

    // [audio path] No allocation, no lock, no host call. Reads the parameters and the sample
    // rate once per block; the filter runs in double precision whatever the buffers hold.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept override;
    void processDoubleReplacing(double** inputs, double** outputs,
                                VstInt32 sampleFrames) noexcept override;

    void setParameter(VstInt32 index, float value) noexcept override;
    float getParameter(VstInt32 index) noexcept override;
    void setProgramName(const char* name) noexcept override;
    void getProgramName(char* name) noexcept override;
    void getParameterLabel(VstInt32 index, char* label) noexcept override;
    void getParameterDisplay(VstInt32 index, char* text) noexcept override;
    void getParameterName(VstInt32 index, char* text) noexcept override;
    bool getEffectName(char* name) noexcept override;
    bool getVendorString(char* text) noexcept override;
    bool getProductString(char* text) noexcept override;
    VstInt32 getVendorVersion() noexcept override;

    // The sample rate that the loaded coefficient set stands for.
    float getCoefficientRate() const noexcept { return coefficientRate; }

private:
    // Loads the set for `rate` and clears the filter state; returns the rate of the set loaded.
    float selectCoefficients(float rate) noexcept;
    void clearHistory() noexcept;
    // Picks up a change of the host's sample rate since the last selection.
    void followSampleRate() noexcept;
    template <typename Sample>
    void processBlock(Sample** inputs, Sample** outputs, VstInt32 sampleFrames, Sample g) noexcept;

    float gain; // 0 is -20 dB, 0.5 is 0 dB, 1 is +20 dB; never clamped
    float mode; // 0 "regular", 1 "inverse"; nothing else is stored
    PhonoSection filter;
    float coefficientRate; // the rate of the loaded set
    float selectedForRate; // the host's rate when the set was selected
    char programName[kVstMaxProgNameLen + 1];
};
