// The core opcodes 0 to 24, the defaults of the base operations, and the record's entry points.
#include "audioeffectx.h"
#include "plaineffect.h"
#include "testeditor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Logs every base operation that dispatch reaches, with the arguments it received.
struct SpyEffect : AudioEffectX {
    explicit SpyEffect(int* destroyedCount = nullptr) noexcept
        : AudioEffectX(nullptr, 1, 2)
        , destroyed(destroyedCount) {}
    ~SpyEffect() override {
        add("destroyed");
        if (destroyed != nullptr) {
            ++*destroyed;
        }
    }

    std::vector<std::string> log;
    std::vector<std::string>* sink = &log; // where the entries go
    VstInt32 program = 0;
    VstInt32 chunkAnswer = 0;
    int* destroyed;

    void attachEditor(AEffEditor* e) { editor = e; }
    void add(const std::string& entry) { sink->push_back(entry); }

    void open() noexcept override { add("open"); }
    void close() noexcept override { add("close"); }
    void suspend() noexcept override { add("suspend"); }
    void resume() noexcept override { add("resume"); }
    void setSampleRate(float rate) noexcept override {
        add("setSampleRate(" + std::to_string(static_cast<int>(rate)) + ")");
    }
    void setBlockSize(VstInt32 size) noexcept override {
        add("setBlockSize(" + std::to_string(size) + ")");
    }
    void setProgram(VstInt32 p) noexcept override { add("setProgram(" + std::to_string(p) + ")"); }
    VstInt32 getProgram() noexcept override {
        add("getProgram");
        return program;
    }
    void setProgramName(const char* name) noexcept override {
        add(std::string("setProgramName(") + name + ")");
    }
    void getProgramName(char*) noexcept override { add("getProgramName"); }
    void getParameterLabel(VstInt32 index, char*) noexcept override {
        add("getParameterLabel(" + std::to_string(index) + ")");
    }
    void getParameterDisplay(VstInt32 index, char*) noexcept override {
        add("getParameterDisplay(" + std::to_string(index) + ")");
    }
    void getParameterName(VstInt32 index, char*) noexcept override {
        add("getParameterName(" + std::to_string(index) + ")");
    }
    VstInt32 getChunk(void** data, bool isPreset) noexcept override {
        add(std::string("getChunk(") + (isPreset ? "preset" : "bank") + ")");
        *data = this;
        return chunkAnswer;
    }
    VstInt32 setChunk(void*, VstInt32 size, bool isPreset) noexcept override {
        add("setChunk(" + std::to_string(size) + (isPreset ? ",preset)" : ",bank)"));
        return chunkAnswer;
    }
    float getVu() noexcept override {
        add("getVu");
        return 0.7f;
    }
    VstInt32 processEvents(VstEvents*) noexcept override {
        add("processEvents");
        return 1;
    }

    void processReplacing(float** in, float** out, VstInt32 frames) noexcept override {
        add("processReplacing(" + std::to_string(frames) + ")");
        seen = {in, out};
    }
    void processDoubleReplacing(double** in, double** out, VstInt32 frames) noexcept override {
        add("processDoubleReplacing(" + std::to_string(frames) + ")");
        seen = {in, out};
    }
    void process(float** in, float** out, VstInt32 frames) noexcept override {
        add("process(" + std::to_string(frames) + ")");
        seen = {in, out};
    }
    void setParameter(VstInt32 index, float value) noexcept override {
        add("setParameter(" + std::to_string(index) + "," + std::to_string(value) + ")");
    }
    float getParameter(VstInt32 index) noexcept override {
        add("getParameter(" + std::to_string(index) + ")");
        return 0.25f;
    }
    std::vector<void*> seen;
};

using Log = std::vector<std::string>;

VstIntPtr send(AEffect* record, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
               void* ptr = nullptr, float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

char programText[] = "abc";

} // namespace

TEST(CoreDispatch, EachOpcodeReachesItsOperation) {
    const struct {
        const char* name;
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        void* ptr;
        float opt;
        VstIntPtr result;
        Log log;
    } cases[] = {
        {"open", effOpen, 0, 0, nullptr, 0, 0, {"open"}},
        {"program 0", effSetProgram, 0, 0, nullptr, 0, 0, {"setProgram(0)"}},
        {"program 1 of 1", effSetProgram, 0, 1, nullptr, 0, 0, {}},
        {"program -1", effSetProgram, 0, -1, nullptr, 0, 0, {"setProgram(-1)"}},
        // The bound is tested on the whole value; setProgram gets its low 32 bits.
        {"program 2^32", effSetProgram, 0, VstIntPtr{1} << 32, nullptr, 0, 0, {}},
        {"program -2^32 + 5",
         effSetProgram,
         0,
         -(VstIntPtr{1} << 32) + 5,
         nullptr,
         0,
         0,
         {"setProgram(5)"}},
        {"program name", effSetProgramName, 0, 0, programText, 0, 0, {"setProgramName(abc)"}},
        {"get program name", effGetProgramName, 0, 0, programText, 0, 0, {"getProgramName"}},
        {"label", effGetParamLabel, 3, 0, programText, 0, 0, {"getParameterLabel(3)"}},
        {"display", effGetParamDisplay, -2, 0, programText, 0, 0, {"getParameterDisplay(-2)"}},
        {"param name", effGetParamName, 7, 0, programText, 0, 0, {"getParameterName(7)"}},
        {"vu is not asked", effGetVu, 0, 0, nullptr, 0, 0, {}},
        {"sample rate", effSetSampleRate, 0, 0, nullptr, 48000.0f, 0, {"setSampleRate(48000)"}},
        {"block size",
         effSetBlockSize,
         0,
         (VstIntPtr{1} << 32) + 512,
         nullptr,
         0,
         0,
         {"setBlockSize(512)"}},
        {"suspend", effMainsChanged, 0, 0, nullptr, 0, 0, {"suspend"}},
        {"resume", effMainsChanged, 0, 1, nullptr, 0, 0, {"resume"}},
        {"resume on 2^32", effMainsChanged, 0, VstIntPtr{1} << 32, nullptr, 0, 0, {"resume"}},
        {"edit draw", effEditDraw, 1, 1, programText, 1, 0, {}},
        {"edit mouse", effEditMouse, 1, 1, programText, 1, 0, {}},
        {"edit key", effEditKey, 1, 1, programText, 1, 0, {}},
        {"edit top", effEditTop, 1, 1, programText, 1, 0, {}},
        {"edit sleep", effEditSleep, 1, 1, programText, 1, 0, {}},
        {"identify", effIdentify, 9, -3, programText, 2.5f, 0x4E764566, {}},
        {"chunk, bank", effGetChunk, 0, 0, nullptr, 0, -2, {"getChunk(bank)"}},
        {"chunk, preset", effGetChunk, 5, 0, nullptr, 0, -2, {"getChunk(preset)"}},
        {"set chunk",
         effSetChunk,
         1,
         (VstIntPtr{1} << 32) + 16,
         programText,
         0,
         -2,
         {"setChunk(16,preset)"}},
        {"set chunk, bank", effSetChunk, 0, 16, programText, 0, -2, {"setChunk(16,bank)"}},
        {"opcode -1", -1, 0, 0, nullptr, 0, 0, {}},
        {"opcode 80", 80, 0, 0, nullptr, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpyEffect spy;
        spy.chunkAnswer = -2;
        void* chunk = nullptr;
        void* ptr = c.opcode == effGetChunk ? &chunk : c.ptr;
        EXPECT_EQ(send(spy.getAeffect(), c.opcode, c.index, c.value, ptr, c.opt), c.result);
        EXPECT_EQ(spy.log, c.log);
    }
}

TEST(CoreDispatch, ProgramAnswersAreSignExtended) {
    SpyEffect spy;
    spy.program = -1;
    EXPECT_EQ(send(spy.getAeffect(), effGetProgram), VstIntPtr{-1});
    // With the default operations: setProgram stores -1, and getProgram answers it.
    testing_support::PlainEffect plain(nullptr, 1, 0);
    send(plain.getAeffect(), effSetProgram, 0, -1);
    EXPECT_EQ(send(plain.getAeffect(), effGetProgram), VstIntPtr{-1});
    send(plain.getAeffect(), effSetProgram, 0, 1);
    EXPECT_EQ(plain.getProgram(), -1);
}

TEST(CoreDispatch, BaseDispatcherAnswersNothingAbove24) {
    SpyEffect spy;
    EXPECT_EQ(spy.AudioEffect::dispatcher(effProcessEvents, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(spy.AudioEffect::dispatcher(-1, 0, 0, nullptr, 0.0f), 0);
    EXPECT_TRUE(spy.log.empty());
    // Through AudioEffectX the same opcode is served.
    EXPECT_EQ(spy.dispatcher(effProcessEvents, 0, 0, nullptr, 0.0f), 1);
}

TEST(CoreDispatch, EditorOpcodes) {
    int editorRect = 0;
    auto* rect = reinterpret_cast<ERect*>(&editorRect);
    const struct {
        VstInt32 opcode;
        const char* operation;
        bool answers;
    } cases[] = {
        {effEditGetRect, "getRect", true},
        {effEditOpen, "open(window)", true},
        {effEditClose, "close", false},
        {effEditIdle, "idle", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        // Without an editor: 0, and the pointer is left alone.
        SpyEffect bare;
        ERect* untouched = rect;
        EXPECT_EQ(send(bare.getAeffect(), c.opcode, 0, 0, &untouched), 0);
        EXPECT_EQ(untouched, rect);

        for (bool answer : {true, false}) {
            bool alive = false;
            SpyEffect spy;
            auto* editor = new testing_support::TestEditor(&spy, &alive);
            spy.attachEditor(editor);
            editor->answer = answer;
            editor->rect = rect;
            ERect* where = nullptr;
            const VstIntPtr result = send(spy.getAeffect(), c.opcode, 0, 0, &where);
            EXPECT_EQ(result, c.answers && answer ? 1 : 0);
            EXPECT_EQ(editor->log, Log{c.operation});
            if (c.opcode == effEditGetRect) {
                EXPECT_EQ(where, rect);
            }
        }
    }
}

TEST(CoreDispatch, DefaultsWriteEmptyTexts) {
    testing_support::PlainEffect plain;
    for (VstInt32 opcode :
         {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        SCOPED_TRACE(opcode);
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(send(plain.getAeffect(), opcode, 0, 0, buffer), 0);
        EXPECT_EQ(buffer[0], '\0');
        for (std::size_t i = 1; i < sizeof buffer; ++i) {
            ASSERT_EQ(buffer[i], 'x') << i;
        }
    }
    void* data = &plain;
    EXPECT_EQ(send(plain.getAeffect(), effGetChunk, 1, 0, &data), 0);
    EXPECT_EQ(data, &plain);
    EXPECT_EQ(send(plain.getAeffect(), effSetChunk, 0, 8, &plain), 0);
    EXPECT_EQ(plain.getParameter(0), 0.0f);
    EXPECT_EQ(plain.getParameter(-1), 0.0f);
    EXPECT_EQ(plain.getVu(), 0.0f);
}

TEST(EntryPoints, CloseRunsCloseOnceThenDestroys) {
    int destroyed = 0;
    bool editorAlive = false;
    auto* spy = new SpyEffect(&destroyed);
    spy->attachEditor(new testing_support::TestEditor(spy, &editorAlive));
    AEffect* record = spy->getAeffect();
    // The framework's dispatcher answers 0 to effClose; the entry point answers 1.
    EXPECT_EQ(spy->dispatcher(effClose, 0, 0, nullptr, 0.0f), 0);
    Log outside;
    spy->sink = &outside;
    EXPECT_EQ(send(record, effClose, 3, 4, record, 5.0f), 1);
    EXPECT_EQ(outside, (Log{"close", "destroyed"}));
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(editorAlive); // the editor went with the effect
}

TEST(EntryPoints, ForwardArgumentsUnchanged) {
    SpyEffect spy;
    AEffect* record = spy.getAeffect();
    record->setParameter(record, -3, 0.5f);
    EXPECT_EQ(record->getParameter(record, 1000), 0.25f);
    float f = 0;
    double d = 0;
    float* fs[] = {&f};
    double* ds[] = {&d};
    record->process(record, fs, fs, 3);
    EXPECT_EQ(spy.seen, (std::vector<void*>{fs, fs}));
    record->processReplacing(record, fs, fs, 0);
    record->processDoubleReplacing(record, ds, ds, -1);
    EXPECT_EQ(spy.seen, (std::vector<void*>{ds, ds}));
    EXPECT_EQ(spy.log, (Log{"setParameter(-3,0.500000)", "getParameter(1000)", "process(3)",
                            "processReplacing(0)", "processDoubleReplacing(-1)"}));
}
