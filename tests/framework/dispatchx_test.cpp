// AudioEffectX's dispatcher: which operation each opcode reaches with which arguments, how the
// operation's answer reaches the host, the opcodes passed on to the core dispatcher, the editor's
// key record, the defaults of the extended operations, and resume's request for events.
#include "aeffeditor.h"
#include "audioeffectx.h"
#include "capabilities.h"
#include "plaineffect.h"
#include "recordinghost.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

VstIntPtr addressOf(const void* p) {
    return static_cast<VstIntPtr>(reinterpret_cast<std::uintptr_t>(p));
}

// One operation as a spy saw it: its name, its integer and pointer arguments (pointers as
// addresses, booleans as 1 or 0) and its float argument, if it has one.
struct Seen {
    Seen(std::string name, std::vector<VstIntPtr> args = {},
         std::optional<float> floatArgument = std::nullopt)
        : operation(std::move(name))
        , arguments(std::move(args))
        , real(floatArgument) {}

    std::string operation;
    std::vector<VstIntPtr> arguments;
    std::optional<float> real;
};

bool operator==(const Seen& a, const Seen& b) {
    return a.operation == b.operation && a.arguments == b.arguments && a.real == b.real;
}

std::ostream& operator<<(std::ostream& out, const Seen& s) {
    out << s.operation << "(";
    for (std::size_t i = 0; i < s.arguments.size(); ++i) {
        out << (i != 0 ? ", " : "") << s.arguments[i];
    }
    if (s.real) {
        out << (s.arguments.empty() ? "" : ", ") << *s.real << "f";
    }
    return out << ")";
}

// Every spied operation answers `answer`, converted to its result type: nonzero is true, and a
// 32-bit result takes the low 32 bits.
class Spy {
public:
    std::vector<Seen> seen;
    VstIntPtr answer = 0;

    void note(const char* operation, std::vector<VstIntPtr> arguments,
              std::optional<float> real = std::nullopt) {
        seen.push_back({operation, std::move(arguments), real});
    }
    bool truth() const { return answer != 0; }
    VstInt32 number() const { return static_cast<VstInt32>(static_cast<std::uint32_t>(answer)); }
};

// An editor that reports to the effect's spy.
class SpyEditor : public AEffEditor {
public:
    SpyEditor(AudioEffect* owner, Spy& spy)
        : AEffEditor(owner)
        , log(spy) {}

    bool getRect(ERect** rect) noexcept override {
        log.note("editor.getRect", {addressOf(rect)});
        return log.truth();
    }
    bool open(void* ptr) noexcept override {
        log.note("editor.open", {addressOf(ptr)});
        return log.truth();
    }
    void close() noexcept override { log.note("editor.close", {}); }
    void idle() noexcept override { log.note("editor.idle", {}); }
    bool onKeyDown(VstKeyCode* key) noexcept override {
        log.note("editor.onKeyDown", {key->character, key->virt, key->modifier});
        return log.truth();
    }
    bool onKeyUp(VstKeyCode* key) noexcept override {
        log.note("editor.onKeyUp", {key->character, key->virt, key->modifier});
        return log.truth();
    }
    bool setKnobMode(VstInt32 mode) noexcept override {
        log.note("editor.setKnobMode", {mode});
        return log.truth();
    }

private:
    Spy& log;
};

// An effect whose every operation that a dispatcher could reach reports to its spy.
class SpyEffect : public AudioEffectX {
public:
    SpyEffect()
        : AudioEffectX(nullptr, 1, 2) {}

    Spy spy;

    void attachEditor() { editor = new SpyEditor(this, spy); } // owned and destroyed by the effect

    void processReplacing(float**, float**, VstInt32) noexcept override {}

    // Core operations, reached through the core dispatcher.
    void open() noexcept override { spy.note("open", {}); }
    void close() noexcept override { spy.note("close", {}); }
    void suspend() noexcept override { spy.note("suspend", {}); }
    void resume() noexcept override { spy.note("resume", {}); }
    void setSampleRate(float rate) noexcept override { spy.note("setSampleRate", {}, rate); }
    void setBlockSize(VstInt32 size) noexcept override { spy.note("setBlockSize", {size}); }
    VstInt32 getProgram() noexcept override {
        spy.note("getProgram", {});
        return spy.number();
    }
    void setProgram(VstInt32 program) noexcept override { spy.note("setProgram", {program}); }
    void getParameterName(VstInt32 index, char* text) noexcept override {
        spy.note("getParameterName", {index, addressOf(text)});
    }
    VstInt32 getChunk(void** data, bool isPreset) noexcept override {
        spy.note("getChunk", {addressOf(data), isPreset});
        return spy.number();
    }
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) noexcept override {
        spy.note("setChunk", {addressOf(data), byteSize, isPreset});
        return spy.number();
    }
    float getVu() noexcept override {
        spy.note("getVu", {});
        return 1.0f;
    }

    // Extended operations reached by an opcode.
    bool canParameterBeAutomated(VstInt32 index) noexcept override {
        spy.note("canParameterBeAutomated", {index});
        return spy.truth();
    }
    bool string2parameter(VstInt32 index, const char* text) noexcept override {
        spy.note("string2parameter", {index, addressOf(text)});
        return spy.truth();
    }
    bool getParameterProperties(VstInt32 index, VstParameterProperties* p) noexcept override {
        spy.note("getParameterProperties", {index, addressOf(p)});
        return spy.truth();
    }
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) noexcept override {
        spy.note("getProgramNameIndexed", {category, index, addressOf(text)});
        return spy.truth();
    }
    bool beginSetProgram() noexcept override {
        spy.note("beginSetProgram", {});
        return spy.truth();
    }
    bool endSetProgram() noexcept override {
        spy.note("endSetProgram", {});
        return spy.truth();
    }
    VstInt32 beginLoadBank(VstPatchChunkInfo* info) noexcept override {
        spy.note("beginLoadBank", {addressOf(info)});
        return spy.number();
    }
    VstInt32 beginLoadProgram(VstPatchChunkInfo* info) noexcept override {
        spy.note("beginLoadProgram", {addressOf(info)});
        return spy.number();
    }
    bool getInputProperties(VstInt32 index, VstPinProperties* p) noexcept override {
        spy.note("getInputProperties", {index, addressOf(p)});
        return spy.truth();
    }
    bool getOutputProperties(VstInt32 index, VstPinProperties* p) noexcept override {
        spy.note("getOutputProperties", {index, addressOf(p)});
        return spy.truth();
    }
    bool setSpeakerArrangement(VstSpeakerArrangement* in,
                               VstSpeakerArrangement* out) noexcept override {
        spy.note("setSpeakerArrangement", {addressOf(in), addressOf(out)});
        return spy.truth();
    }
    bool getSpeakerArrangement(VstSpeakerArrangement** in,
                               VstSpeakerArrangement** out) noexcept override {
        spy.note("getSpeakerArrangement", {addressOf(in), addressOf(out)});
        return spy.truth();
    }
    bool setBypass(bool onOff) noexcept override {
        spy.note("setBypass", {onOff});
        return spy.truth();
    }
    bool setPanLaw(VstInt32 type, float value) noexcept override {
        spy.note("setPanLaw", {type}, value);
        return spy.truth();
    }
    bool setProcessPrecision(VstInt32 precision) noexcept override {
        spy.note("setProcessPrecision", {precision});
        return spy.truth();
    }
    VstInt32 getNumMidiInputChannels() noexcept override {
        spy.note("getNumMidiInputChannels", {});
        return spy.number();
    }
    VstInt32 getNumMidiOutputChannels() noexcept override {
        spy.note("getNumMidiOutputChannels", {});
        return spy.number();
    }
    VstInt32 processEvents(VstEvents* events) noexcept override {
        spy.note("processEvents", {addressOf(events)});
        return spy.number();
    }
    VstInt32 startProcess() noexcept override {
        spy.note("startProcess", {});
        return spy.number();
    }
    VstInt32 stopProcess() noexcept override {
        spy.note("stopProcess", {});
        return spy.number();
    }
    bool processVariableIo(VstVariableIo* varIo) noexcept override {
        spy.note("processVariableIo", {addressOf(varIo)});
        return spy.truth();
    }
    VstInt32 setTotalSampleToProcess(VstInt32 value) noexcept override {
        spy.note("setTotalSampleToProcess", {value});
        return spy.number();
    }
    VstInt32 getGetTailSize() noexcept override {
        spy.note("getGetTailSize", {});
        return spy.number();
    }
    bool getEffectName(char* name) noexcept override {
        spy.note("getEffectName", {addressOf(name)});
        return spy.truth();
    }
    bool getVendorString(char* text) noexcept override {
        spy.note("getVendorString", {addressOf(text)});
        return spy.truth();
    }
    bool getProductString(char* text) noexcept override {
        spy.note("getProductString", {addressOf(text)});
        return spy.truth();
    }
    VstInt32 getVendorVersion() noexcept override {
        spy.note("getVendorVersion", {});
        return spy.number();
    }
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) noexcept override {
        spy.note("vendorSpecific", {index, value, addressOf(ptr)}, opt);
        return spy.answer;
    }
    VstInt32 canDo(const char* text) noexcept override {
        spy.note("canDo", {addressOf(text)});
        return spy.number();
    }
    VstInt32 getVstVersion() noexcept override {
        spy.note("getVstVersion", {});
        return spy.number();
    }
    VstInt32 getPlugCategory() noexcept override {
        spy.note("getPlugCategory", {});
        return spy.number();
    }
    VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* name) noexcept override {
        spy.note("getMidiProgramName", {channel, addressOf(name)});
        return spy.number();
    }
    VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* current) noexcept override {
        spy.note("getCurrentMidiProgram", {channel, addressOf(current)});
        return spy.number();
    }
    VstInt32 getMidiProgramCategory(VstInt32 channel,
                                    MidiProgramCategory* category) noexcept override {
        spy.note("getMidiProgramCategory", {channel, addressOf(category)});
        return spy.number();
    }
    bool hasMidiProgramsChanged(VstInt32 channel) noexcept override {
        spy.note("hasMidiProgramsChanged", {channel});
        return spy.truth();
    }
    bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName) noexcept override {
        spy.note("getMidiKeyName", {channel, addressOf(keyName)});
        return spy.truth();
    }
    VstInt32 getNextShellPlugin(char* name) noexcept override {
        spy.note("getNextShellPlugin", {addressOf(name)});
        return spy.number();
    }
    bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start) noexcept override {
        spy.note("offlineNotify", {addressOf(files), count, start});
        return spy.truth();
    }
    bool offlinePrepare(VstOfflineTask* offline, VstInt32 count) noexcept override {
        spy.note("offlinePrepare", {addressOf(offline), count});
        return spy.truth();
    }
    bool offlineRun(VstOfflineTask* offline, VstInt32 count) noexcept override {
        spy.note("offlineRun", {addressOf(offline), count});
        return spy.truth();
    }

    // Extended operations that no opcode reaches.
    VstInt32 getNumCategories() noexcept override {
        spy.note("getNumCategories", {});
        return spy.number();
    }
    bool copyProgram(VstInt32 target) noexcept override {
        spy.note("copyProgram", {target});
        return spy.truth();
    }
    void inputConnected(VstInt32 index, bool state) noexcept override {
        spy.note("inputConnected", {index, state});
    }
    void outputConnected(VstInt32 index, bool state) noexcept override {
        spy.note("outputConnected", {index, state});
    }
    VstInt32 reportCurrentPosition() noexcept override {
        spy.note("reportCurrentPosition", {});
        return spy.number();
    }
    float* reportDestinationBuffer() noexcept override {
        spy.note("reportDestinationBuffer", {});
        return &destination;
    }
    void setBlockSizeAndSampleRate(VstInt32 size, float rate) noexcept override {
        spy.note("setBlockSizeAndSampleRate", {size}, rate);
    }
    bool getErrorText(char* text) noexcept override {
        spy.note("getErrorText", {addressOf(text)});
        return spy.truth();
    }
    void* getIcon() noexcept override {
        spy.note("getIcon", {});
        return &destination;
    }
    bool setViewPosition(VstInt32 x, VstInt32 y) noexcept override {
        spy.note("setViewPosition", {x, y});
        return spy.truth();
    }
    VstInt32 fxIdle() noexcept override {
        spy.note("fxIdle", {});
        return spy.number();
    }
    bool keysRequired() noexcept override {
        spy.note("keysRequired", {});
        return spy.truth();
    }
    VstInt32 offlineGetNumPasses() noexcept override {
        spy.note("offlineGetNumPasses", {});
        return spy.number();
    }
    VstInt32 offlineGetNumMetaPasses() noexcept override {
        spy.note("offlineGetNumMetaPasses", {});
        return spy.number();
    }

private:
    float destination = 0.0f;
};

// The arguments every row sends unless it says otherwise: `value` has bits above the low 32,
// so that the low 32 bits (5) and the whole value differ.
constexpr VstInt32 kIndex = 7;
constexpr VstIntPtr kValue = (VstIntPtr{1} << 32) + 5;
constexpr float kOpt = 0.75f;
// A pointer-sized value standing for an address: above 4 GiB, with other low 32 bits.
constexpr VstIntPtr kAddressValue = 0x00007FFD00000010;

unsigned char pointee[16];
void* const kPtr = pointee;
const VstIntPtr kPtrValue = addressOf(pointee);

// Spy answers and the results the host must receive for them.
using Answers = std::vector<std::pair<VstIntPtr, VstIntPtr>>;
const Answers kBool = {{0, 0}, {1, 1}};
const Answers kSigned = {
    {0, 0},
    {-2, -2},
    {std::numeric_limits<VstInt32>::min(), std::numeric_limits<VstInt32>::min()},
    {std::numeric_limits<VstInt32>::max(), std::numeric_limits<VstInt32>::max()}};
const Answers kWholeAnswer = {
    {0, 0},
    {0x123456789AB, 0x123456789AB},
    {-0x123456789AB, -0x123456789AB},
    {std::numeric_limits<VstIntPtr>::min(), std::numeric_limits<VstIntPtr>::min()}};
const Answers kAlwaysZero = {{0, 0}, {1, 0}, {-1, 0}};
const Answers kIdentify = {{0, 0x4E764566}, {-1, 0x4E764566}}; // 'NvEf', whatever else answers

struct DispatchCase {
    const char* name;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    std::vector<Seen> expected; // what the spy saw, in order; ptr is always kPtr
    const Answers* answers;
};

// A row sent with the usual arguments, or with those given.
DispatchCase row(const char* name, VstInt32 opcode, Seen expected, const Answers& answers) {
    return {name, opcode, kIndex, kValue, kOpt, {std::move(expected)}, &answers};
}
DispatchCase row(const char* name, VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt,
                 Seen expected, const Answers& answers) {
    return {name, opcode, index, value, opt, {std::move(expected)}, &answers};
}
// A row that calls no operation.
DispatchCase quiet(const char* name, VstInt32 opcode, VstIntPtr value, const Answers& answers) {
    return {name, opcode, kIndex, value, kOpt, {}, &answers};
}

std::vector<DispatchCase> extendedCases() {
    const VstIntPtr highBitsOnly = VstIntPtr{1} << 32;
    return {
        // Parameters and programs.
        row("effCanBeAutomated", effCanBeAutomated, {"canParameterBeAutomated", {kIndex}}, kBool),
        row("effString2Parameter", effString2Parameter, {"string2parameter", {kIndex, kPtrValue}},
            kBool),
        row("effGetProgramNameIndexed: the category from value", effGetProgramNameIndexed,
            {"getProgramNameIndexed", {5, kIndex, kPtrValue}}, kBool),
        row("effGetParameterProperties", effGetParameterProperties,
            {"getParameterProperties", {kIndex, kPtrValue}}, kBool),
        row("effBeginSetProgram", effBeginSetProgram, {"beginSetProgram"}, kBool),
        row("effEndSetProgram", effEndSetProgram, {"endSetProgram"}, kBool),
        row("effBeginLoadBank", effBeginLoadBank, {"beginLoadBank", {kPtrValue}}, kSigned),
        row("effBeginLoadProgram", effBeginLoadProgram, {"beginLoadProgram", {kPtrValue}}, kSigned),

        // Inputs, outputs and processing.
        row("effGetInputProperties", effGetInputProperties,
            {"getInputProperties", {kIndex, kPtrValue}}, kBool),
        row("effGetOutputProperties", effGetOutputProperties,
            {"getOutputProperties", {kIndex, kPtrValue}}, kBool),
        row("effProcessVarIo", effProcessVarIo, {"processVariableIo", {kPtrValue}}, kBool),
        row("effSetSpeakerArrangement: the input from the whole value", effSetSpeakerArrangement,
            kIndex, kAddressValue, kOpt, {"setSpeakerArrangement", {kAddressValue, kPtrValue}},
            kBool),
        row("effSetBypass: only high bits set is on", effSetBypass, kIndex, highBitsOnly, kOpt,
            {"setBypass", {1}}, kBool),
        row("effSetBypass: 0 is off", effSetBypass, kIndex, 0, kOpt, {"setBypass", {0}}, kBool),
        row("effGetTailSize", effGetTailSize, {"getGetTailSize"}, kSigned),
        row("effGetSpeakerArrangement: the whole value as an address", effGetSpeakerArrangement,
            kIndex, kAddressValue, kOpt, {"getSpeakerArrangement", {kAddressValue, kPtrValue}},
            kBool),
        row("effStartProcess", effStartProcess, {"startProcess"}, kSigned),
        row("effStopProcess", effStopProcess, {"stopProcess"}, kSigned),
        row("effSetTotalSampleToProcess: the low 32 bits", effSetTotalSampleToProcess,
            {"setTotalSampleToProcess", {5}}, kSigned),
        row("effSetPanLaw", effSetPanLaw, {"setPanLaw", {5}, kOpt}, kBool),
        row("effSetProcessPrecision", effSetProcessPrecision, {"setProcessPrecision", {5}}, kBool),

        // Offline processing.
        row("effOfflineNotify: a nonzero index starts", effOfflineNotify,
            {"offlineNotify", {kPtrValue, 5, 1}}, kBool),
        row("effOfflineNotify: index 0 does not start", effOfflineNotify, 0, kValue, kOpt,
            {"offlineNotify", {kPtrValue, 5, 0}}, kBool),
        row("effOfflinePrepare", effOfflinePrepare, {"offlinePrepare", {kPtrValue, 5}}, kBool),
        row("effOfflineRun", effOfflineRun, {"offlineRun", {kPtrValue, 5}}, kBool),

        // Identity and capabilities.
        row("effGetPlugCategory", effGetPlugCategory, {"getPlugCategory"}, kSigned),
        row("effGetEffectName", effGetEffectName, {"getEffectName", {kPtrValue}}, kBool),
        row("effGetVendorString", effGetVendorString, {"getVendorString", {kPtrValue}}, kBool),
        row("effGetProductString", effGetProductString, {"getProductString", {kPtrValue}}, kBool),
        row("effGetVendorVersion", effGetVendorVersion, {"getVendorVersion"}, kSigned),
        row("effVendorSpecific: every argument, the whole answer", effVendorSpecific, -3, kValue,
            kOpt, {"vendorSpecific", {-3, kValue, kPtrValue}, kOpt}, kWholeAnswer),
        row("effCanDo", effCanDo, {"canDo", {kPtrValue}}, kSigned),
        row("effGetVstVersion", effGetVstVersion, {"getVstVersion"}, kSigned),
        row("effShellGetNextPlugin", effShellGetNextPlugin, {"getNextShellPlugin", {kPtrValue}},
            kSigned),

        // Events and MIDI.
        row("effProcessEvents", effProcessEvents, {"processEvents", {kPtrValue}}, kSigned),
        row("effGetMidiProgramName", effGetMidiProgramName,
            {"getMidiProgramName", {kIndex, kPtrValue}}, kSigned),
        row("effGetCurrentMidiProgram", effGetCurrentMidiProgram,
            {"getCurrentMidiProgram", {kIndex, kPtrValue}}, kSigned),
        row("effGetMidiProgramCategory", effGetMidiProgramCategory,
            {"getMidiProgramCategory", {kIndex, kPtrValue}}, kSigned),
        row("effHasMidiProgramsChanged", effHasMidiProgramsChanged,
            {"hasMidiProgramsChanged", {kIndex}}, kBool),
        row("effGetMidiKeyName", effGetMidiKeyName, {"getMidiKeyName", {kIndex, kPtrValue}}, kBool),
        row("effGetNumMidiInputChannels", effGetNumMidiInputChannels, {"getNumMidiInputChannels"},
            kSigned),
        row("effGetNumMidiOutputChannels", effGetNumMidiOutputChannels,
            {"getNumMidiOutputChannels"}, kSigned),
    };
}

// Opcodes outside the extended set reach the core dispatcher with all five arguments.
std::vector<DispatchCase> coreCases() {
    const VstIntPtr highBitsOnly = VstIntPtr{1} << 32;
    return {
        row("effOpen", effOpen, {"open"}, kAlwaysZero),
        row("effSetProgram: -1 passes the bound", effSetProgram, kIndex, -1, kOpt,
            {"setProgram", {-1}}, kAlwaysZero),
        quiet("effSetProgram: the whole value is bounded", effSetProgram, highBitsOnly,
              kAlwaysZero),
        row("effGetProgram", effGetProgram, {"getProgram"}, kSigned),
        row("effGetParamName", effGetParamName, {"getParameterName", {kIndex, kPtrValue}},
            kAlwaysZero),
        row("effSetSampleRate: opt", effSetSampleRate, kIndex, kValue, 48000.5f,
            {"setSampleRate", {}, 48000.5f}, kAlwaysZero),
        row("effSetBlockSize: the low 32 bits", effSetBlockSize, {"setBlockSize", {5}},
            kAlwaysZero),
        row("effMainsChanged: only high bits set resumes", effMainsChanged, kIndex, highBitsOnly,
            kOpt, {"resume"}, kAlwaysZero),
        row("effMainsChanged: 0 suspends", effMainsChanged, kIndex, 0, kOpt, {"suspend"},
            kAlwaysZero),
        quiet("effIdentify", effIdentify, kValue, kIdentify),
        row("effGetChunk: a nonzero index is a preset", effGetChunk, {"getChunk", {kPtrValue, 1}},
            kSigned),
        row("effSetChunk: the low 32 bits as the size", effSetChunk, 0, kValue, kOpt,
            {"setChunk", {kPtrValue, 5, 0}}, kSigned),
    };
}

// The core editor opcodes, for an effect with an editor.
std::vector<DispatchCase> coreEditorCases() {
    return {
        row("effEditGetRect", effEditGetRect, {"editor.getRect", {kPtrValue}}, kBool),
        row("effEditOpen", effEditOpen, {"editor.open", {kPtrValue}}, kBool),
        row("effEditClose", effEditClose, {"editor.close"}, kAlwaysZero),
        row("effEditIdle", effEditIdle, {"editor.idle"}, kAlwaysZero),
    };
}

void checkCase(const DispatchCase& c, bool withEditor) {
    SCOPED_TRACE(c.name);
    for (const auto& [spyAnswer, expected] : *c.answers) {
        SCOPED_TRACE("the operation answers " + std::to_string(spyAnswer));
        SpyEffect effect;
        if (withEditor) {
            effect.attachEditor();
        }
        effect.spy.answer = spyAnswer;
        const VstIntPtr result = effect.dispatcher(c.opcode, c.index, c.value, kPtr, c.opt);
        EXPECT_EQ(effect.spy.seen, c.expected);
        EXPECT_EQ(result, expected);
    }
}

TEST(ExtendedDispatch, EachOpcodeCallsItsOperationAndConvertsTheAnswer) {
    for (const DispatchCase& c : extendedCases()) {
        checkCase(c, false);
    }
}

TEST(ExtendedDispatch, OtherOpcodesReachTheCoreDispatcherUnchanged) {
    for (const DispatchCase& c : coreCases()) {
        checkCase(c, false);
    }
    for (const DispatchCase& c : coreEditorCases()) {
        checkCase(c, true);
    }
}

TEST(ExtendedDispatch, OpcodesWithoutARowAnswerZeroAndCallNothing) {
    const VstInt32 opcodes[] = {
        // Extended opcodes without an operation of their own.
        effGetNumProgramCategories, effCopyProgram, effConnectInput, effConnectOutput,
        effGetCurrentPosition, effGetDestinationBuffer, effSetBlockSizeAndSampleRate,
        effGetErrorText, effIdle, effGetIcon, effSetViewPosition, effKeysRequired,
        // Core opcodes without an operation.
        effGetVu, effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep,
        // Beyond both sets.
        80, 81, 1000, -1, -5, std::numeric_limits<VstInt32>::min(),
        std::numeric_limits<VstInt32>::max(), std::numeric_limits<VstInt32>::min() + 25};
    for (const VstInt32 opcode : opcodes) {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        for (const bool withEditor : {false, true}) {
            SpyEffect effect;
            if (withEditor) {
                effect.attachEditor();
            }
            effect.spy.answer = 1;
            EXPECT_EQ(effect.dispatcher(opcode, kIndex, kValue, kPtr, kOpt), 0);
            EXPECT_EQ(effect.spy.seen, std::vector<Seen>{});
        }
    }
}

// The editor's opcodes: the key record is built from index, value and opt.
struct KeyCase {
    const char* name;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    VstInt32 character;
    VstIntPtr virt;
    VstIntPtr modifier;
};

TEST(ExtendedDispatchEditor, KeyOpcodesHandTheEditorAKeyRecord) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const KeyCase cases[] = {
        {"65, 0x1FF, 3.9", 65, 0x1FF, 3.9f, 65, 0xFF, 3},
        {"virt from the low byte of the whole value", -1, (VstIntPtr{0xAB} << 40) | 0x12, 0.0f, -1,
         0x12, 0},
        {"negative value", 0, -1, 1.0f, 0, 0xFF, 1},
        {"negative opt truncates toward zero", 'a', 0, -0.9f, 'a', 0, 0},
        {"-1.5 is -1, low byte 0xFF", 'a', 0, -1.5f, 'a', 0, 0xFF},
        {"255.99 is 255", 'a', 0, 255.99f, 'a', 0, 0xFF},
        {"256 keeps its low byte 0", 'a', 0, 256.0f, 'a', 0, 0},
        {"300.7 is 300, low byte 44", 'a', 0, 300.7f, 'a', 0, 44},
        {"the largest float below 2^31", 'a', 0, 2147483520.0f, 'a', 0, 0x80},
        {"-2^31 is in range", 'a', 0, -2147483648.0f, 'a', 0, 0},
        {"-2^31 + 128", 'a', 0, -2147483520.0f, 'a', 0, 0x80},
        {"2^31 is out of range", 'a', 0, 2147483648.0f, 'a', 0, 0},
        {"below -2^31 is out of range", 'a', 0, -2147483904.0f, 'a', 0, 0},
        {"1e10", 'a', 0, 1e10f, 'a', 0, 0},
        {"-1e30", 'a', 0, -1e30f, 'a', 0, 0},
        {"NaN", 'a', 0, nan, 'a', 0, 0},
        {"negative NaN", 'a', 0, -nan, 'a', 0, 0},
        {"infinity", 'a', 0, infinity, 'a', 0, 0},
        {"minus infinity", 'a', 0, -infinity, 'a', 0, 0},
        {"the largest float", 'a', 0, std::numeric_limits<float>::max(), 'a', 0, 0},
    };
    const std::pair<VstInt32, const char*> opcodes[] = {{effEditKeyDown, "editor.onKeyDown"},
                                                        {effEditKeyUp, "editor.onKeyUp"}};
    for (const auto& [opcode, operation] : opcodes) {
        SCOPED_TRACE(operation);
        for (const KeyCase& c : cases) {
            SCOPED_TRACE(c.name);
            for (const auto& [editorAnswer, expected] : kBool) {
                SpyEffect effect;
                effect.attachEditor();
                effect.spy.answer = editorAnswer;
                EXPECT_EQ(effect.dispatcher(opcode, c.index, c.value, kPtr, c.opt), expected);
                const std::vector<Seen> seen = {{operation, {c.character, c.virt, c.modifier}, {}}};
                EXPECT_EQ(effect.spy.seen, seen);
            }
        }
    }
}

TEST(ExtendedDispatchEditor, KnobModeTakesTheLow32BitsOfValue) {
    const std::pair<VstIntPtr, VstIntPtr> modes[] = {
        {kValue, 5}, {2, 2}, {-1, -1}, {VstIntPtr{0xFFFFFFFF}, -1}, {VstIntPtr{1} << 32, 0}};
    for (const auto& [value, mode] : modes) {
        SCOPED_TRACE("value " + std::to_string(value));
        for (const auto& [editorAnswer, expected] : kBool) {
            SpyEffect effect;
            effect.attachEditor();
            effect.spy.answer = editorAnswer;
            EXPECT_EQ(effect.dispatcher(effSetEditKnobMode, kIndex, value, kPtr, kOpt), expected);
            const std::vector<Seen> seen = {{"editor.setKnobMode", {mode}, {}}};
            EXPECT_EQ(effect.spy.seen, seen);
        }
    }
}

TEST(ExtendedDispatchEditor, WithoutAnEditorTheEditorOpcodesAnswerZero) {
    for (const VstInt32 opcode : {effEditKeyDown, effEditKeyUp, effSetEditKnobMode}) {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        SpyEffect effect;
        effect.spy.answer = 1;
        EXPECT_EQ(effect.dispatcher(opcode, 65, 0x1FF, kPtr, 3.9f), 0);
        EXPECT_EQ(effect.spy.seen, std::vector<Seen>{});
    }
}

// An effect with every default of the framework.
using DefaultEffect = testing_support::PlainEffect;

TEST(ExtendedDefaults, EveryExtendedOpcodeAnswersItsDefaultAndWritesNothing) {
    // The defaults that are not 0 or false, for the arguments sent below.
    const std::pair<VstInt32, VstIntPtr> notZero[] = {
        {effCanBeAutomated, 1},
        {effGetVstVersion, 2400},
        {effGetCurrentMidiProgram, -1},
        {effSetTotalSampleToProcess, 5},
    };
    for (VstInt32 opcode = effProcessEvents; opcode <= effGetNumMidiOutputChannels; ++opcode) {
        if (opcode == effGetSpeakerArrangement) {
            continue; // writes through value and ptr: below
        }
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        host::RecordingHost host;
        host.answerWith([](const host::HostCall&) { return VstIntPtr{1}; });
        DefaultEffect effect(host::RecordingHost::callback());
        std::array<char, 256> buffer;
        buffer.fill('\x7f');
        buffer.back() = '\0';
        const std::array<char, 256> before = buffer;

        VstIntPtr expected = 0;
        for (const auto& [op, answer] : notZero) {
            if (op == opcode) {
                expected = answer;
            }
        }
        EXPECT_EQ(effect.dispatcher(opcode, kIndex, kValue, buffer.data(), kOpt), expected);
        EXPECT_EQ(buffer, before);
        EXPECT_TRUE(host.calls().empty());
    }
}

TEST(ExtendedDefaults, ChosenDefaultsThroughTheDispatcher) {
    DefaultEffect effect(nullptr);
    EXPECT_EQ(effect.dispatcher(effGetCurrentMidiProgram, 0, 0, nullptr, 0.0f), VstIntPtr{-1});
    for (const VstInt32 index : {0, -1, 2, 1000, std::numeric_limits<VstInt32>::min()}) {
        EXPECT_EQ(effect.dispatcher(effCanBeAutomated, index, 0, nullptr, 0.0f), 1) << index;
    }
    const std::pair<VstIntPtr, VstIntPtr> totals[] = {
        {512, 512}, {-7, -7}, {(VstIntPtr{1} << 32) + 512, 512}, {VstIntPtr{0xFFFFFFFF}, -1}};
    for (const auto& [value, expected] : totals) {
        EXPECT_EQ(effect.dispatcher(effSetTotalSampleToProcess, 0, value, nullptr, 0.0f), expected)
            << value;
    }
    EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategUnknown);
    effect.isSynth(true);
    EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategSynth);
    EXPECT_EQ(effect.getPlugCategory(), 2);
    effect.isSynth(false);
    EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), 0);
    // Opcode 28 answers 0 although getNumCategories answers 1.
    EXPECT_EQ(effect.dispatcher(effGetNumProgramCategories, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect.getNumCategories(), 1);
}

TEST(ExtendedDefaults, CanDoAnswersZeroToEveryText) {
    DefaultEffect effect(nullptr);
    std::vector<const char*> texts(std::begin(effectCanDo::all), std::end(effectCanDo::all));
    texts.insert(texts.end(), std::begin(hostCanDo::all), std::end(hostCanDo::all));
    texts.push_back("");
    texts.push_back("bypass ");
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(effect.dispatcher(effCanDo, 0, 0, const_cast<char*>(text), 0.0f), 0);
    }
}

TEST(ExtendedDefaults, GetSpeakerArrangementNullsBothPointers) {
    DefaultEffect effect(nullptr);
    VstSpeakerArrangement sentinel{};
    VstSpeakerArrangement* input = &sentinel;
    VstSpeakerArrangement* output = &sentinel;
    EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, kIndex, addressOf(&input), &output, kOpt),
              0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST(ExtendedDefaults, GetSpeakerArrangementSkipsANullAddress) {
    DefaultEffect effect(nullptr);
    VstSpeakerArrangement sentinel{};
    VstSpeakerArrangement* input = &sentinel;
    VstSpeakerArrangement* output = &sentinel;
    EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, 0, &output, 0.0f), 0);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, addressOf(&input), nullptr, 0.0f), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, 0, nullptr, 0.0f), 0);
}

TEST(ExtendedDefaults, OperationsNoOpcodeReachesKeepTheirDefaults) {
    DefaultEffect effect(nullptr);
    char text[16];
    std::memset(text, 0x7f, sizeof text);
    EXPECT_EQ(effect.getNumCategories(), 1);
    EXPECT_FALSE(effect.copyProgram(0));
    EXPECT_EQ(effect.reportCurrentPosition(), 0);
    EXPECT_EQ(effect.reportDestinationBuffer(), nullptr);
    EXPECT_FALSE(effect.getErrorText(text));
    EXPECT_EQ(effect.getIcon(), nullptr);
    EXPECT_FALSE(effect.setViewPosition(10, 20));
    EXPECT_EQ(effect.fxIdle(), 0);
    EXPECT_FALSE(effect.keysRequired());
    EXPECT_EQ(effect.offlineGetNumPasses(), 0);
    EXPECT_EQ(effect.offlineGetNumMetaPasses(), 0);
    EXPECT_EQ(effect.vendorSpecific(1, 2, text, 3.0f), 0);
    EXPECT_FALSE(effect.getEffectName(text));
    EXPECT_FALSE(effect.getProgramNameIndexed(0, 0, text));
    for (const char c : text) {
        EXPECT_EQ(c, '\x7f');
    }
}

TEST(EffectCapabilityTexts, PublishedInTheirOrder) {
    const std::vector<std::string> expected = {
        "sendVstEvents",      "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
        "receiveVstTimeInfo", "offline",          "midiProgramNames", "bypass",
    };
    const std::vector<std::string> published(std::begin(effectCanDo::all),
                                             std::end(effectCanDo::all));
    EXPECT_EQ(published, expected);
    EXPECT_STREQ(effectCanDo::receiveVstMidiEvent, "receiveVstMidiEvent");
}

// resume asks the host for events when the effect is an instrument or says it receives MIDI.
class ResumeEffect : public testing_support::PlainEffect {
public:
    ResumeEffect()
        : PlainEffect(host::RecordingHost::callback()) {}
    VstInt32 canDo(const char* text) noexcept override {
        asked.emplace_back(text);
        return canDoAnswer;
    }
    VstInt32 canDoAnswer = 0;
    std::vector<std::string> asked;
};

struct ResumeCase {
    const char* name;
    bool synth;
    VstInt32 canDoAnswer;
    bool requestsEvents;
    bool asksCanDo;
};

TEST(ExtendedResume, RequestsEventsForAnInstrumentOrAMidiReceiver) {
    const ResumeCase cases[] = {
        {"instrument, canDo 1", true, 1, true, false},
        {"instrument, canDo 0", true, 0, true, false},
        {"canDo 1", false, 1, true, true},
        {"canDo 0", false, 0, false, true},
        {"canDo -1", false, -1, false, true},
        {"canDo 2", false, 2, false, true},
    };
    for (const ResumeCase& c : cases) {
        SCOPED_TRACE(c.name);
        host::RecordingHost host;
        host.answerWith([](const host::HostCall&) { return VstIntPtr{1}; });
        ResumeEffect effect;
        effect.isSynth(c.synth);
        effect.canDoAnswer = c.canDoAnswer;

        effect.resume();

        if (c.requestsEvents) {
            ASSERT_EQ(host.calls().size(), 1u);
            const host::HostCall& call = host.calls().front();
            EXPECT_EQ(call.effect, effect.getAeffect());
            EXPECT_EQ(call.opcode, audioMasterWantMidi);
            EXPECT_EQ(call.index, 0);
            EXPECT_EQ(call.value, 1);
            EXPECT_EQ(call.ptr, nullptr);
            EXPECT_EQ(call.opt, 0.0f);
        } else {
            EXPECT_TRUE(host.calls().empty());
        }
        const std::vector<std::string> asked = c.asksCanDo
                                                   ? std::vector<std::string>{"receiveVstMidiEvent"}
                                                   : std::vector<std::string>{};
        EXPECT_EQ(effect.asked, asked);
    }
}

TEST(ExtendedResume, EveryResumeAsksAgainAndSuspendWithdrawsNothing) {
    host::RecordingHost host;
    ResumeEffect effect;
    effect.canDoAnswer = 1;
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    effect.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
    effect.dispatcher(effMainsChanged, 0, -1, nullptr, 0.0f);
    ASSERT_EQ(host.calls().size(), 2u);
    for (const host::HostCall& call : host.calls()) {
        EXPECT_EQ(call.opcode, audioMasterWantMidi);
        EXPECT_EQ(call.value, 1);
    }
}

} // namespace
