// The requests an effect sends to its host: which opcode and which fields reach the host, how
// the host's answer becomes the request's result, and what each request gives without a host.
#include "audioeffectx.h"
#include "capabilities.h"
#include "recordinghost.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

// An effect that records what the framework calls on it while it talks to the host.
class RequestEffect : public AudioEffectX {
public:
    struct ParameterWrite {
        VstInt32 index;
        float value;
        std::size_t hostCallsBefore; // how many requests the host had seen at that moment
    };

    RequestEffect(audioMasterCallback callback, const host::RecordingHost* watched)
        : AudioEffectX(callback, 1, 2)
        , watchedHost(watched) {}

    void processReplacing(float**, float**, VstInt32) noexcept override {}
    void setParameter(VstInt32 index, float value) noexcept override {
        parameterWrites.push_back(
            {index, value, watchedHost != nullptr ? watchedHost->calls().size() : 0});
    }
    void setSampleRate(float) noexcept override { ++sampleRateSets; }
    void setBlockSize(VstInt32) noexcept override { ++blockSizeSets; }

    std::vector<ParameterWrite> parameterWrites;
    int sampleRateSets = 0;
    int blockSizeSets = 0;

private:
    const host::RecordingHost* watchedHost;
};

// Stand-ins for the records the requests pass by pointer: only their addresses matter.
alignas(16) unsigned char recordStorage[64];

template <typename T>
T* fakeRecord(std::size_t offset) {
    return reinterpret_cast<T*>(recordStorage + offset);
}

VstIntPtr addressOf(const void* p) {
    return static_cast<VstIntPtr>(reinterpret_cast<std::uintptr_t>(p));
}

// The answers every request is tried with: 0, 1, -1, a value whose low 32 bits are 0 while
// higher bits are set, and a pointer-like value whose low 32 bits are negative as a 32-bit
// integer.
constexpr VstIntPtr kHighBitsOnly = VstIntPtr{1} << 32;
constexpr VstIntPtr kLargePointer = 0x00007FFD9ABCDEF0;
constexpr std::array<VstIntPtr, 5> kAnswers = {0, 1, -1, kHighBitsOnly, kLargePointer};
// The low 32 bits of kLargePointer, 0x9ABCDEF0, as a signed 32-bit integer.
constexpr VstIntPtr kLargePointerLow = -0x65432110;

// The expected result for each of kAnswers, by kind of conversion.
using Results = std::array<VstIntPtr, 5>;
constexpr Results kLow32 = {0, 1, -1, 0, kLargePointerLow};          // a VstInt32 result
constexpr Results kWhole = {0, 1, -1, kHighBitsOnly, kLargePointer}; // pointer-sized results
constexpr Results kTruth = {0, 1, 1, 1, 1};                          // flag and 0/1 kinds
constexpr Results kVersion = {1, 1, -1, 1, kLargePointerLow};        // 0 in the low bits is 1
constexpr Results kConnected = {1, 0, 0, 1, 0};                      // the host's 0 is connected

const char kCapability[] = "sizeWindow";

// One request: how to make it, the call that must reach the host, the result for each answer
// (none for a request without a result) and the result without a host.
struct RequestCase {
    const char* name;
    std::function<VstIntPtr(RequestEffect&)> request;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
    const Results* results;
    VstIntPtr withoutHost;
};

VstIntPtr asResult(bool b) {
    return b ? 1 : 0;
}
VstIntPtr asResult(VstInt32 v) {
    return v;
}
VstIntPtr asResult(const void* p) {
    return addressOf(p);
}

std::vector<RequestCase> requestCases() {
    VstAudioFile* files = fakeRecord<VstAudioFile>(0);
    VstOfflineTask* task = fakeRecord<VstOfflineTask>(8);
    VstFileSelect* selector = fakeRecord<VstFileSelect>(16);
    VstWindow* window = fakeRecord<VstWindow>(24);
    void* chunkPath = recordStorage + 32;
    char* text = reinterpret_cast<char*>(recordStorage + 40);
    void* vendorPointer = recordStorage + 48;
    void* capability = const_cast<char*>(kCapability);

    return {
        // Base requests.
        {"getMasterVersion", [](RequestEffect& e) { return asResult(e.getMasterVersion()); },
         audioMasterVersion, 0, 0, nullptr, 0.0f, &kVersion, 1},
        {"getCurrentUniqueId", [](RequestEffect& e) { return asResult(e.getCurrentUniqueId()); },
         audioMasterCurrentId, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"masterIdle",
         [](RequestEffect& e) {
             e.masterIdle();
             return VstIntPtr{0};
         },
         audioMasterIdle, 0, 0, nullptr, 0.0f, nullptr, 0},
        {"isInputConnected", [](RequestEffect& e) { return asResult(e.isInputConnected(2)); },
         audioMasterPinConnected, 2, 0, nullptr, 0.0f, &kConnected, 1},
        {"isOutputConnected", [](RequestEffect& e) { return asResult(e.isOutputConnected(2)); },
         audioMasterPinConnected, 2, 1, nullptr, 0.0f, &kConnected, 1},
        {"setParameterAutomated",
         [](RequestEffect& e) {
             e.setParameterAutomated(1, 0.25f);
             return VstIntPtr{0};
         },
         audioMasterAutomate, 1, 0, nullptr, 0.25f, nullptr, 0},

        // Time, rate and processing state. Negative arguments show the sign extension into value.
        {"getTimeInfo", [](RequestEffect& e) { return asResult(e.getTimeInfo(-3)); },
         audioMasterGetTime, 0, -3, nullptr, 0.0f, &kWhole, 0},
        {"tempoAt", [](RequestEffect& e) { return asResult(e.tempoAt(-44100)); },
         audioMasterTempoAt, 0, -44100, nullptr, 0.0f, &kLow32, 0},
        {"getInputLatency", [](RequestEffect& e) { return asResult(e.getInputLatency()); },
         audioMasterGetInputLatency, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"getOutputLatency", [](RequestEffect& e) { return asResult(e.getOutputLatency()); },
         audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"willProcessReplacing",
         [](RequestEffect& e) { return asResult(e.willProcessReplacing()); },
         audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"getCurrentProcessLevel",
         [](RequestEffect& e) { return asResult(e.getCurrentProcessLevel()); },
         audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"getAutomationState", [](RequestEffect& e) { return asResult(e.getAutomationState()); },
         audioMasterGetAutomationState, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"setOutputSamplerate",
         [](RequestEffect& e) {
             e.setOutputSamplerate(48000.5f);
             return VstIntPtr{0};
         },
         audioMasterSetOutputSampleRate, 0, 0, nullptr, 48000.5f, nullptr, 0},
        {"wantEvents",
         [](RequestEffect& e) {
             e.wantEvents(-2);
             return VstIntPtr{0};
         },
         audioMasterWantMidi, 0, -2, nullptr, 0.0f, nullptr, 0},
        {"ioChanged", [](RequestEffect& e) { return asResult(e.ioChanged()); },
         audioMasterIOChanged, 0, 0, nullptr, 0.0f, &kTruth, 0},
        {"needIdle", [](RequestEffect& e) { return asResult(e.needIdle()); }, audioMasterNeedIdle,
         0, 0, nullptr, 0.0f, &kTruth, 0},

        // Parameters and display.
        {"beginEdit", [](RequestEffect& e) { return asResult(e.beginEdit(5)); },
         audioMasterBeginEdit, 5, 0, nullptr, 0.0f, &kTruth, 0},
        {"endEdit", [](RequestEffect& e) { return asResult(e.endEdit(-6)); }, audioMasterEndEdit,
         -6, 0, nullptr, 0.0f, &kTruth, 0},
        {"updateDisplay", [](RequestEffect& e) { return asResult(e.updateDisplay()); },
         audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f, &kTruth, 0},
        {"getNumAutomatableParameters",
         [](RequestEffect& e) { return asResult(e.getNumAutomatableParameters()); },
         audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"getParameterQuantization",
         [](RequestEffect& e) { return asResult(e.getParameterQuantization()); },
         audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"sizeWindow", [](RequestEffect& e) { return asResult(e.sizeWindow(640, 480)); },
         audioMasterSizeWindow, 640, 480, nullptr, 0.0f, &kTruth, 0},

        // The host's identity and capabilities.
        {"getHostVendorString",
         [text](RequestEffect& e) { return asResult(e.getHostVendorString(text)); },
         audioMasterGetVendorString, 0, 0, text, 0.0f, &kTruth, 0},
        {"getHostProductString",
         [text](RequestEffect& e) { return asResult(e.getHostProductString(text)); },
         audioMasterGetProductString, 0, 0, text, 0.0f, &kTruth, 0},
        {"getHostVendorVersion",
         [](RequestEffect& e) { return asResult(e.getHostVendorVersion()); },
         audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"hostVendorSpecific",
         [vendorPointer](RequestEffect& e) {
             return e.hostVendorSpecific(-7, VstIntPtr{0x123456789}, vendorPointer, -2.5f);
         },
         audioMasterVendorSpecific, -7, 0x123456789, vendorPointer, -2.5f, &kWhole, 0},
        {"canHostDo", [](RequestEffect& e) { return asResult(e.canHostDo(kCapability)); },
         audioMasterCanDo, 0, 0, capability, 0.0f, &kTruth, 0},
        {"getHostLanguage", [](RequestEffect& e) { return asResult(e.getHostLanguage()); },
         audioMasterGetLanguage, 0, 0, nullptr, 0.0f, &kLow32, 0},
        {"getDirectory", [](RequestEffect& e) { return asResult(e.getDirectory()); },
         audioMasterGetDirectory, 0, 0, nullptr, 0.0f, &kWhole, 0},

        // Offline processing.
        {"offlineStart",
         [files](RequestEffect& e) { return asResult(e.offlineStart(files, 3, 1)); },
         audioMasterOfflineStart, 1, 3, files, 0.0f, &kTruth, 0},
        {"offlineRead", [task](RequestEffect& e) { return asResult(e.offlineRead(task, 2, true)); },
         audioMasterOfflineRead, 1, 2, task, 0.0f, &kTruth, 0},
        {"offlineRead without the source",
         [task](RequestEffect& e) { return asResult(e.offlineRead(task, -4, false)); },
         audioMasterOfflineRead, 0, -4, task, 0.0f, &kTruth, 0},
        {"offlineWrite", [task](RequestEffect& e) { return asResult(e.offlineWrite(task, 9)); },
         audioMasterOfflineWrite, 0, 9, task, 0.0f, &kTruth, 0},
        {"offlineGetCurrentPass",
         [](RequestEffect& e) { return asResult(e.offlineGetCurrentPass()); },
         audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f, &kTruth, 0},
        {"offlineGetCurrentMetaPass",
         [](RequestEffect& e) { return asResult(e.offlineGetCurrentMetaPass()); },
         audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f, &kTruth, 0},

        // Windows, files, neighbouring effects and speaker arrangements.
        {"openWindow", [window](RequestEffect& e) { return e.openWindow(window); },
         audioMasterOpenWindow, 0, 0, window, 0.0f, &kWhole, 0},
        {"closeWindow", [window](RequestEffect& e) { return asResult(e.closeWindow(window)); },
         audioMasterCloseWindow, 0, 0, window, 0.0f, &kTruth, 0},
        {"closeWindow with a null window",
         [](RequestEffect& e) { return asResult(e.closeWindow(nullptr)); }, audioMasterCloseWindow,
         0, 0, nullptr, 0.0f, &kTruth, 0},
        {"openFileSelector",
         [selector](RequestEffect& e) { return asResult(e.openFileSelector(selector)); },
         audioMasterOpenFileSelector, 0, 0, selector, 0.0f, &kTruth, 0},
        {"closeFileSelector",
         [selector](RequestEffect& e) { return asResult(e.closeFileSelector(selector)); },
         audioMasterCloseFileSelector, 0, 0, selector, 0.0f, &kTruth, 0},
        {"getChunkFile",
         [chunkPath](RequestEffect& e) { return asResult(e.getChunkFile(chunkPath)); },
         audioMasterGetChunkFile, 0, 0, chunkPath, 0.0f, &kTruth, 0},
        {"getPreviousPlug", [](RequestEffect& e) { return asResult(e.getPreviousPlug()); },
         audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f, &kWhole, 0},
        {"getNextPlug", [](RequestEffect& e) { return asResult(e.getNextPlug()); },
         audioMasterGetNextPlug, 0, 0, nullptr, 0.0f, &kWhole, 0},
        {"getInputSpeakerArrangement",
         [](RequestEffect& e) { return asResult(e.getInputSpeakerArrangement()); },
         audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0.0f, &kWhole, 0},
        {"getOutputSpeakerArrangement",
         [](RequestEffect& e) { return asResult(e.getOutputSpeakerArrangement()); },
         audioMasterGetOutputSpeakerArrangement, 0, 0, nullptr, 0.0f, &kWhole, 0},
    };
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(HostRequestCalls, EachRequestSendsOneCallWithItsFieldsAndConvertsTheAnswer) {
    for (const RequestCase& c : requestCases()) {
        SCOPED_TRACE(c.name);
        for (std::size_t a = 0; a < kAnswers.size(); ++a) {
            SCOPED_TRACE("answer " + std::to_string(kAnswers[a]));
            host::RecordingHost host;
            host.answerWith([&](const host::HostCall&) { return kAnswers[a]; });
            RequestEffect effect(host::RecordingHost::callback(), &host);

            const VstIntPtr result = c.request(effect);

            ASSERT_EQ(host.calls().size(), 1u);
            const host::HostCall& call = host.calls().front();
            EXPECT_EQ(call.effect, effect.getAeffect());
            EXPECT_EQ(call.opcode, c.opcode);
            EXPECT_EQ(call.index, c.index);
            EXPECT_EQ(call.value, c.value);
            EXPECT_EQ(call.ptr, c.ptr);
            EXPECT_TRUE(sameBits(call.opt, c.opt)) << call.opt << " instead of " << c.opt;
            if (c.results != nullptr) {
                EXPECT_EQ(result, (*c.results)[a]);
            }
        }
    }
}

TEST(HostRequestCalls, WithoutAHostEachRequestAnswersItsDefault) {
    for (const RequestCase& c : requestCases()) {
        SCOPED_TRACE(c.name);
        RequestEffect effect(nullptr, nullptr);
        const VstIntPtr result =
            c.request(effect); // a request without a result only must not crash
        if (c.results != nullptr) {
            EXPECT_EQ(result, c.withoutHost);
        }
    }
}

TEST(HostRequestCalls, NullRecordsAreNotSentToTheHost) {
    struct NullCase {
        const char* name;
        std::function<bool(RequestEffect&)> request;
    };
    const NullCase cases[] = {
        {"openFileSelector", [](RequestEffect& e) { return e.openFileSelector(nullptr); }},
        {"closeFileSelector", [](RequestEffect& e) { return e.closeFileSelector(nullptr); }},
        {"getChunkFile", [](RequestEffect& e) { return e.getChunkFile(nullptr); }},
    };
    for (const NullCase& c : cases) {
        SCOPED_TRACE(c.name);
        host::RecordingHost host;
        host.answerWith([](const host::HostCall&) { return VstIntPtr{1}; });
        RequestEffect effect(host::RecordingHost::callback(), &host);
        EXPECT_FALSE(c.request(effect));
        EXPECT_TRUE(host.calls().empty());
    }
}

TEST(HostRequestCalls, AutomationSetsTheParameterBeforeTellingTheHost) {
    for (const bool withHost : {true, false}) {
        SCOPED_TRACE(withHost ? "with a host" : "without a host");
        host::RecordingHost host;
        RequestEffect effect(withHost ? host::RecordingHost::callback() : nullptr, &host);

        effect.setParameterAutomated(1, 0.25f);

        ASSERT_EQ(effect.parameterWrites.size(), 1u);
        EXPECT_EQ(effect.parameterWrites[0].index, 1);
        EXPECT_EQ(effect.parameterWrites[0].value, 0.25f);
        EXPECT_EQ(effect.parameterWrites[0].hostCallsBefore, 0u);
        EXPECT_EQ(host.calls().size(), withHost ? 1u : 0u);
    }
}

TEST(HostRequestCalls, NothingIsCachedBetweenRequests) {
    host::RecordingHost host;
    VstIntPtr next = 0;
    host.answerWith([&](const host::HostCall&) { return next; });
    RequestEffect effect(host::RecordingHost::callback(), &host);

    next = 3;
    EXPECT_EQ(effect.getMasterVersion(), 3);
    next = 0;
    EXPECT_EQ(effect.getMasterVersion(), 1);
    next = 7;
    EXPECT_EQ(effect.openWindow(nullptr), 7);
    EXPECT_TRUE(effect.closeWindow(nullptr));
    next = 3;
    EXPECT_EQ(effect.offlineGetCurrentPass(), 1); // not the pass number
    EXPECT_EQ(host.calls().size(), 5u);
}

// The two updates write the members directly, and test the answer at different widths.
struct UpdateCase {
    const char* name;
    VstIntPtr answer;
    double sampleRate;  // what updateSampleRate returns and stores
    VstInt32 blockSize; // what updateBlockSize returns and stores
};

TEST(HostRequestUpdates, PositiveAnswersAreStoredOthersKeepTheValue) {
    const UpdateCase cases[] = {
        {"48000", 48000, 48000.0, 48000},
        {"512", 512, 512.0, 512},
        {"0 keeps both", 0, 44100.0, 1024},
        {"-1 keeps both", -1, 44100.0, 1024},
        {"only high bits: a rate, no block size", kHighBitsOnly, 4294967296.0, 1024},
        {"negative as a whole, 512 in the low bits: a block size, no rate",
         static_cast<VstIntPtr>(~std::uint64_t{0xFFFFFFFF} | 512u), 44100.0, 512},
        {"low 32 bits negative: a rate, no block size", kLargePointer, 140727199522544.0, 1024},
        {"2^31 + 1: a rate, no block size", 0x80000001, 2147483649.0, 1024},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        host::RecordingHost host;
        host.answerWith([&](const host::HostCall&) { return c.answer; });
        RequestEffect effect(host::RecordingHost::callback(), &host);

        EXPECT_EQ(effect.updateSampleRate(), static_cast<double>(static_cast<float>(c.sampleRate)));
        EXPECT_EQ(effect.getSampleRate(), static_cast<float>(c.sampleRate));
        EXPECT_EQ(effect.updateBlockSize(), c.blockSize);
        EXPECT_EQ(effect.getBlockSize(), c.blockSize);

        EXPECT_EQ(effect.sampleRateSets, 0);
        EXPECT_EQ(effect.blockSizeSets, 0);
        ASSERT_EQ(host.calls().size(), 2u);
        for (const host::HostCall& call : host.calls()) {
            EXPECT_EQ(call.effect, effect.getAeffect());
            EXPECT_EQ(call.index, 0);
            EXPECT_EQ(call.value, 0);
            EXPECT_EQ(call.ptr, nullptr);
            EXPECT_TRUE(sameBits(call.opt, 0.0f));
        }
        EXPECT_EQ(host.calls()[0].opcode, audioMasterGetSampleRate);
        EXPECT_EQ(host.calls()[1].opcode, audioMasterGetBlockSize);
    }
}

TEST(HostRequestUpdates, ARefusedAnswerKeepsTheLastStoredValue) {
    host::RecordingHost host;
    VstIntPtr next = 96000;
    host.answerWith([&](const host::HostCall&) { return next; });
    RequestEffect effect(host::RecordingHost::callback(), &host);

    EXPECT_EQ(effect.updateSampleRate(), 96000.0);
    next = 256;
    EXPECT_EQ(effect.updateBlockSize(), 256);
    next = 0;
    EXPECT_EQ(effect.updateSampleRate(), 96000.0);
    EXPECT_EQ(effect.updateBlockSize(), 256);
    next = -48000;
    EXPECT_EQ(effect.updateSampleRate(), 96000.0);
    EXPECT_EQ(effect.updateBlockSize(), 256);
    EXPECT_EQ(host.calls().size(), 6u);
}

TEST(HostRequestUpdates, WithoutAHostTheStoredValuesAreReturned) {
    RequestEffect effect(nullptr, nullptr);
    EXPECT_EQ(effect.updateSampleRate(), 44100.0);
    EXPECT_EQ(effect.updateBlockSize(), 1024);
    effect.setBlockSizeAndSampleRate(64, 22050.0f);
    EXPECT_EQ(effect.updateSampleRate(), 22050.0);
    EXPECT_EQ(effect.updateBlockSize(), 64);
}

TEST(HostCapabilityTexts, PublishedInTheirOrder) {
    const std::vector<std::string> expected = {
        "sendVstEvents",
        "sendVstMidiEvent",
        "sendVstTimeInfo",
        "receiveVstEvents",
        "receiveVstMidiEvent",
        "reportConnectionChanges",
        "acceptIOChanges",
        "sizeWindow",
        "offline",
        "openFileSelector",
        "closeFileSelector",
        "startStopProcess",
        "shellCategory",
        "sendVstMidiEventFlagIsRealtime",
    };
    const std::vector<std::string> published(std::begin(hostCanDo::all), std::end(hostCanDo::all));
    EXPECT_EQ(published, expected);
    EXPECT_STREQ(hostCanDo::sizeWindow, "sizeWindow");
    EXPECT_STREQ(hostCanDo::sendVstMidiEventFlagIsRealtime, "sendVstMidiEventFlagIsRealtime");
}

TEST(HostCapabilityTexts, CanHostDoHandsTheTextToTheHost) {
    for (const char* capability : hostCanDo::all) {
        SCOPED_TRACE(capability);
        host::RecordingHost host;
        std::string seen;
        host.answerWith([&](const host::HostCall& call) {
            seen = static_cast<const char*>(call.ptr);
            return VstIntPtr{-1};
        });
        RequestEffect effect(host::RecordingHost::callback(), &host);
        EXPECT_EQ(effect.canHostDo(capability), 1);
        EXPECT_EQ(seen, capability);
    }
}

} // namespace
