// The extended opcodes of the built plug-in, driven through its record as a host drives it, and
// the plug-in's silence towards its host: the entry's version probe is the only request it makes.
#include "capabilities.h"
#include "loadedplugin.h"
#include "plugininstance.h"
#include "recordinghost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

VstIntPtr addressOf(const void* p) {
    return static_cast<VstIntPtr>(reinterpret_cast<std::uintptr_t>(p));
}

class LoadedExtendedOpcodes : public ::testing::Test {
protected:
    void SetUp() override {
        const host::PluginEntry entry = testing_support::pluginEntry();
        ASSERT_NE(entry, nullptr);
        AEffect* effect = host.create(entry);
        ASSERT_NE(effect, nullptr);
        plugin = std::make_unique<host::PluginInstance>(effect);
    }

    host::RecordingHost host;
    std::unique_ptr<host::PluginInstance> plugin;
};

// A text opcode writes exactly bound + 1 bytes: the text, then zero bytes up to the bound.
struct TextCase {
    const char* name;
    VstInt32 opcode;
    std::size_t bound;
    const char* text; // null: only the length is fixed
    std::size_t length;
};

TEST_F(LoadedExtendedOpcodes, TextOpcodesFillTheirBoundExactly) {
    const TextCase cases[] = {
        {"effGetEffectName", effGetEffectName, 32, "Zelk", 4},
        {"effGetProductString", effGetProductString, 64, "Zelk v1.1.0", 11},
        {"effGetVendorString", effGetVendorString, 64, nullptr, 31},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<char, 128> buffer;
        buffer.fill('\x7f');

        EXPECT_EQ(plugin->dispatch(c.opcode, 0, 0, buffer.data()), 1);

        const std::string written(buffer.data());
        EXPECT_EQ(written.size(), c.length);
        if (c.text != nullptr) {
            EXPECT_EQ(written, c.text);
        } else {
            EXPECT_NE(written.find(", "), std::string::npos) << written; // a name, ", ", an address
        }
        for (std::size_t i = c.length; i <= c.bound; ++i) {
            EXPECT_EQ(buffer[i], '\0') << "byte " << i;
        }
        for (std::size_t i = c.bound + 1; i < buffer.size(); ++i) {
            EXPECT_EQ(buffer[i], '\x7f') << "byte " << i << " is beyond the bound";
        }
    }
}

struct AnswerCase {
    const char* name;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    VstIntPtr expected;
};

TEST_F(LoadedExtendedOpcodes, NumbersAndDefaultsAnswerAtFullWidth) {
    const AnswerCase cases[] = {
        {"effGetVendorVersion", effGetVendorVersion, 0, 0, 1100},
        {"effGetVstVersion", effGetVstVersion, 0, 0, 2400},
        {"effGetPlugCategory", effGetPlugCategory, 0, 0, 0},
        {"effGetCurrentMidiProgram", effGetCurrentMidiProgram, 0, 0, VstIntPtr{-1}},
        {"effGetCurrentMidiProgram, channel 15", effGetCurrentMidiProgram, 15, 0, VstIntPtr{-1}},
        {"effCanBeAutomated, gain", effCanBeAutomated, 0, 0, 1},
        {"effCanBeAutomated, mode", effCanBeAutomated, 1, 0, 1},
        {"effCanBeAutomated, no such parameter", effCanBeAutomated, 2, 0, 1},
        {"effCanBeAutomated, negative index", effCanBeAutomated, -1, 0, 1},
        {"effSetTotalSampleToProcess, the low 32 bits", effSetTotalSampleToProcess, 0,
         (VstIntPtr{1} << 32) + 512, 512},
        {"effSetTotalSampleToProcess, sign-extended", effSetTotalSampleToProcess, 0,
         VstIntPtr{0xFFFFFFFF}, -1},
        {"effSetBypass, only high bits set", effSetBypass, 0, VstIntPtr{1} << 32, 0},
        {"effVendorSpecific", effVendorSpecific, 1, VstIntPtr{1} << 40, 0},
        {"effGetNumProgramCategories", effGetNumProgramCategories, 0, 0, 0},
        {"effEditKeyDown without an editor", effEditKeyDown, 65, 0x1FF, 0},
        {"effSetEditKnobMode without an editor", effSetEditKnobMode, 0, 2, 0},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plugin->dispatch(c.opcode, c.index, c.value, nullptr, 0.0f), c.expected);
    }
}

TEST_F(LoadedExtendedOpcodes, EveryOtherExtendedOpcodeAnswersZero) {
    // Opcodes that write into a buffer or answer something else are checked above.
    const VstInt32 elsewhere[] = {
        effCanBeAutomated,        effGetEffectName,         effGetVendorString,
        effGetProductString,      effGetVendorVersion,      effGetVstVersion,
        effGetCurrentMidiProgram, effGetSpeakerArrangement, effSetTotalSampleToProcess};
    for (VstInt32 opcode = effProcessEvents; opcode <= effGetNumMidiOutputChannels; ++opcode) {
        if (std::find(std::begin(elsewhere), std::end(elsewhere), opcode) != std::end(elsewhere)) {
            continue;
        }
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        EXPECT_EQ(plugin->dispatch(opcode, 3, 0, nullptr, 1.5f), 0);
    }
    for (const VstInt32 opcode : {80, 100, -1}) {
        EXPECT_EQ(plugin->dispatch(opcode, 3, 7, nullptr, 1.5f), 0) << "opcode " << opcode;
    }
}

TEST_F(LoadedExtendedOpcodes, CanDoAnswersZeroForEveryText) {
    std::vector<const char*> texts(std::begin(effectCanDo::all), std::end(effectCanDo::all));
    texts.insert(texts.end(), std::begin(hostCanDo::all), std::end(hostCanDo::all));
    texts.push_back("");
    texts.push_back("plugAsChannelInsert");
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, const_cast<char*>(text)), 0);
    }
}

TEST_F(LoadedExtendedOpcodes, GetSpeakerArrangementNullsBothPointers) {
    VstSpeakerArrangement held{};
    VstSpeakerArrangement* input = &held;
    VstSpeakerArrangement* output = &held;
    EXPECT_EQ(plugin->dispatch(effGetSpeakerArrangement, 0, addressOf(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

// A whole session, as a host runs one, with a host that answers 1 to every request, so that no
// request could go unnoticed for want of an answer.
TEST(LoadedSessionRequests, OnlyTheVersionProbeReachesTheHost) {
    const host::PluginEntry entry = testing_support::pluginEntry();
    ASSERT_NE(entry, nullptr);
    host::RecordingHost host;
    host.answerWith([](const host::HostCall& call) -> VstIntPtr {
        return call.opcode == audioMasterVersion ? 2400 : 1;
    });
    AEffect* effect = host.create(entry);
    ASSERT_NE(effect, nullptr);
    host::PluginInstance plugin(effect);

    plugin.dispatch(effOpen);
    plugin.setSampleRate(48000.0f);
    plugin.dispatch(effSetBlockSize, 0, 256);
    plugin.resume();

    // Parameters and their texts.
    plugin.setParameter(0, 0.75f);
    plugin.setParameter(1, 1.0f);
    EXPECT_EQ(plugin.getParameter(0), 0.75f);
    EXPECT_EQ(plugin.getParameter(1), 1.0f);
    for (VstInt32 index = 0; index < 2; ++index) {
        plugin.text(effGetParamName, index);
        plugin.text(effGetParamLabel, index);
        plugin.text(effGetParamDisplay, index);
    }
    char programName[] = "Side A";
    plugin.dispatch(effSetProgramName, 0, 0, programName);
    EXPECT_EQ(plugin.text(effGetProgramName), "Side A");
    plugin.dispatch(effSetProgram, 0, 0);
    plugin.dispatch(effGetProgram);

    // Audio through both process paths.
    constexpr VstInt32 kFrames = 256;
    std::vector<float> left(kFrames, 0.25f), right(kFrames, -0.25f);
    std::vector<float> outLeft(kFrames), outRight(kFrames);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outLeft.data(), outRight.data()};
    plugin.processReplacing(in, out, kFrames);
    std::vector<double> leftD(kFrames, 0.25), rightD(kFrames, -0.25);
    std::vector<double> outLeftD(kFrames), outRightD(kFrames);
    double* inD[] = {leftD.data(), rightD.data()};
    double* outD[] = {outLeftD.data(), outRightD.data()};
    plugin.processDoubleReplacing(inD, outD, kFrames);

    // Every extended opcode, each with a buffer to write into where it takes one.
    for (VstInt32 opcode = effProcessEvents; opcode <= effGetNumMidiOutputChannels; ++opcode) {
        std::array<char, 256> buffer{};
        if (opcode == effGetSpeakerArrangement) {
            VstSpeakerArrangement* input = nullptr;
            VstSpeakerArrangement* output = nullptr;
            plugin.dispatch(opcode, 0, addressOf(&input), &output);
        } else if (opcode == effCanDo) {
            for (const char* text : effectCanDo::all) {
                plugin.dispatch(opcode, 0, 0, const_cast<char*>(text));
            }
        } else {
            plugin.dispatch(opcode, 0, 0, buffer.data());
        }
    }
    plugin.dispatch(effIdentify);
    plugin.dispatch(effGetVu);
    plugin.dispatch(effEditIdle);

    // Parameters change while running, then the host stops and starts again.
    plugin.setParameter(1, 0.0f);
    plugin.processReplacing(in, out, kFrames);
    plugin.suspend();
    plugin.setSampleRate(96000.0f);
    plugin.resume();
    plugin.processDoubleReplacing(inD, outD, kFrames);
    plugin.suspend();
    EXPECT_EQ(plugin.close(), 1);

    ASSERT_EQ(host.calls().size(), 1u);
    testing_support::expectVersionProbe(host.calls().front());
}

} // namespace
