// Zelk driven through the record of the built plug-in, as a host drives it: the core opcodes,
// the parameters and texts, and audio through both replacing entry points.
#include "analysis.h"
#include "loadedplugin.h"
#include "plugininstance.h"
#include "recordinghost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

class LoadedZelk : public testing::Test {
protected:
    void SetUp() override {
        AEffect* effect = recorder.create(testing_support::pluginEntry());
        ASSERT_NE(effect, nullptr);
        zelk = std::make_unique<host::PluginInstance>(effect);
    }

    // The first `frames` outputs of the left channel for a unit impulse on both channels.
    std::vector<double> impulseDouble(int frames) {
        std::vector<double> left(static_cast<std::size_t>(frames)), right(left.size());
        left[0] = right[0] = 1.0;
        double* channels[] = {left.data(), right.data()};
        zelk->processDoubleReplacing(channels, channels, frames);
        EXPECT_EQ(left, right);
        return left;
    }
    std::vector<float> impulseFloat(int frames) {
        std::vector<float> in(static_cast<std::size_t>(frames)), left(in.size()), right(in.size());
        in[0] = 1.0f;
        float* inputs[] = {in.data(), in.data()};
        float* outputs[] = {left.data(), right.data()};
        zelk->processReplacing(inputs, outputs, frames);
        EXPECT_EQ(left, right);
        return left;
    }

    host::RecordingHost recorder;
    std::unique_ptr<host::PluginInstance> zelk;
};

} // namespace

TEST_F(LoadedZelk, RecordDescribesAStereoEffect) {
    const AEffect* record = zelk->effect();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_EQ(record->numParams, 2);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 0x1010); // replacing, double replacing
    EXPECT_EQ(record->uniqueID, 0x5A6B7168);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->user, nullptr);
}

TEST_F(LoadedZelk, CoreOpcodes) {
    EXPECT_EQ(zelk->dispatch(effOpen), 0);
    EXPECT_EQ(zelk->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(zelk->dispatch(effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(zelk->dispatch(effMainsChanged, 0, 1), 0);
    EXPECT_EQ(zelk->dispatch(effGetProgram), 0);
    zelk->dispatch(effSetProgram, 0, 1); // one program only: ignored
    EXPECT_EQ(zelk->dispatch(effGetProgram), 0);
    EXPECT_EQ(zelk->dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(zelk->dispatch(effGetVu), 0);
    EXPECT_EQ(zelk->dispatch(effEditGetRect), 0); // no editor
    EXPECT_EQ(zelk->dispatch(-7), 0);
    EXPECT_EQ(zelk->dispatch(effMainsChanged, 0, 0), 0);
}

TEST_F(LoadedZelk, ParametersAndTexts) {
    EXPECT_EQ(zelk->text(effGetParamName, 0), "Gain");
    EXPECT_EQ(zelk->text(effGetParamName, 1), "Mode");
    EXPECT_EQ(zelk->text(effGetParamLabel, 0), "dB");
    EXPECT_EQ(zelk->text(effGetParamLabel, 1), "Zelk");
    EXPECT_EQ(zelk->text(effGetParamDisplay, 0), "0");
    EXPECT_EQ(zelk->text(effGetParamDisplay, 1), "regular");
    EXPECT_EQ(zelk->getParameter(0), 0.5f);
    EXPECT_EQ(zelk->getParameter(1), 0.0f);

    zelk->setParameter(0, 0.123f);
    zelk->setParameter(1, 0.75f);
    EXPECT_EQ(zelk->getParameter(0), 0.123f);
    EXPECT_EQ(zelk->getParameter(1), 1.0f);
    EXPECT_EQ(zelk->text(effGetParamDisplay, 0), "-15.08");
    EXPECT_EQ(zelk->text(effGetParamDisplay, 1), "inverse");
    EXPECT_EQ(zelk->getParameter(2), 0.0f);

    char name[32];
    std::memset(name, 'x', sizeof name);
    zelk->dispatch(effSetProgramName, 0, 0, const_cast<char*>("abcdefghijklmnopqrstuvwxyz0123"));
    zelk->dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(name[25], 'x'); // 25 bytes written, no more
}

TEST_F(LoadedZelk, AudioThroughBothReplacingEntryPoints) {
    const double regular[] = {0.219786, 0.215134, 0.170495, 0.138740};
    const std::vector<double> d = impulseDouble(4);
    for (int n = 0; n < 4; ++n) {
        EXPECT_NEAR(d[static_cast<std::size_t>(n)], regular[n], 5e-7) << n;
    }
    zelk->resume();
    const std::vector<float> f = impulseFloat(4);
    for (int n = 0; n < 4; ++n) {
        EXPECT_NEAR(f[static_cast<std::size_t>(n)], regular[n], 5e-7) << n;
    }

    // Inverse mode at 48 kHz, set through the record: +0.50 dB minus the regular level at 1 kHz.
    zelk->setParameter(1, 1.0f);
    zelk->setSampleRate(48000.0f);
    const double gain = host::measureSineGain(
        [&](double* left, double* right, int frames) {
            double* channels[] = {left, right};
            zelk->processDoubleReplacing(channels, channels, frames);
        },
        48000, 1000);
    EXPECT_NEAR(gain, 1.059022, 1e-6);
}

TEST_F(LoadedZelk, AccumulatingProcessLeavesOutputsAlone) {
    float in[2][8] = {{1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}};
    float out[2][8] = {{3, 3, 3, 3, 3, 3, 3, 3}, {3, 3, 3, 3, 3, 3, 3, 3}};
    float* inputs[] = {in[0], in[1]};
    float* outputs[] = {out[0], out[1]};
    zelk->process(inputs, outputs, 8);
    for (const auto& channel : out) {
        for (float v : channel) {
            EXPECT_EQ(v, 3.0f);
        }
    }
}

TEST_F(LoadedZelk, ZeroFramesWritesNothing) {
    double left[] = {5.0}, right[] = {6.0};
    double* channels[] = {left, right};
    zelk->processDoubleReplacing(channels, channels, 0);
    zelk->processDoubleReplacing(channels, channels, -3);
    EXPECT_EQ(left[0], 5.0);
    EXPECT_EQ(right[0], 6.0);
}

TEST_F(LoadedZelk, CloseAnswersOne) {
    EXPECT_EQ(zelk->close(), 1);
}
