// The effect record as the framework fills it, and the accessors and property setters.
#include "plaineffect.h"
#include "zelk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// The framework alone: one program and two parameters, nothing of an effect's own.
using testing_support::PlainEffect;

template <typename T>
void put(unsigned char* bytes, std::size_t offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof value);
}

template <typename T>
T get(const unsigned char* bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

} // namespace

// Byte by byte, at the offsets hosts read: everything not named here is zero.
TEST(EffectRecord, BytesAfterTheFrameworkConstructors) {
    PlainEffect effect;
    const auto* record = reinterpret_cast<const unsigned char*>(effect.getAeffect());

    unsigned char expected[192] = {};
    put<std::int32_t>(expected, 0, 0x56737450);
    for (std::size_t entry : {8u, 16u, 24u, 32u, 120u, 128u}) {
        const auto address = get<std::uint64_t>(record, entry);
        EXPECT_NE(address, 0u) << "entry point at " << entry;
        put(expected, entry, address);
    }
    put<std::int32_t>(expected, 40, 1);           // numPrograms
    put<std::int32_t>(expected, 44, 2);           // numParams
    put<std::int32_t>(expected, 48, 1);           // numInputs
    put<std::int32_t>(expected, 52, 2);           // numOutputs
    put<std::int32_t>(expected, 56, 0x10);        // flags: can replace
    put<std::uint32_t>(expected, 92, 0x3F800000); // ioRatio 1.0
    put<const void*>(expected, 96, &effect);      // object
    put<std::int32_t>(expected, 112, 0x4E6F4566); // uniqueID 'NoEf'
    put<std::int32_t>(expected, 116, 1);          // version
    for (std::size_t i = 0; i < 192; ++i) {
        EXPECT_EQ(record[i], expected[i]) << "byte " << i;
    }

    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getProgram(), 0);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_EQ(effect.getAeffect(), effect.getAeffect());
}

TEST(EffectRecord, ZelkDeclaresItsOwnValues) {
    Zelk zelk(nullptr);
    const AEffect* record = zelk.getAeffect();
    EXPECT_EQ(record->object, &zelk);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->uniqueID, 0x5A6B7168); // 'Zkqh'
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsCanDoubleReplacing);
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_EQ(record->numParams, 2);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->initialDelay, 0);
}

TEST(EffectRecord, EachFlagSetterChangesOnlyItsBit) {
    const struct {
        const char* name;
        void (*set)(AudioEffectX&, bool);
        VstInt32 bit;
    } setters[] = {
        {"hasClip", [](AudioEffectX& e, bool s) { e.hasClip(s); }, 0x2},
        {"hasVu", [](AudioEffectX& e, bool s) { e.hasVu(s); }, 0x4},
        {"canMono", [](AudioEffectX& e, bool s) { e.canMono(s); }, 0x8},
        {"canProcessReplacing", [](AudioEffectX& e, bool s) { e.canProcessReplacing(s); }, 0x10},
        {"programsAreChunks", [](AudioEffectX& e, bool s) { e.programsAreChunks(s); }, 0x20},
        {"isSynth", [](AudioEffectX& e, bool s) { e.isSynth(s); }, 0x100},
        {"noTail", [](AudioEffectX& e, bool s) { e.noTail(s); }, 0x200},
        {"wantAsyncOperation", [](AudioEffectX& e, bool s) { e.wantAsyncOperation(s); }, 0x400},
        {"hasExternalBuffer", [](AudioEffectX& e, bool s) { e.hasExternalBuffer(s); }, 0x800},
        {"canDoubleReplacing", [](AudioEffectX& e, bool s) { e.canDoubleReplacing(s); }, 0x1000},
    };
    for (const auto& setter : setters) {
        SCOPED_TRACE(setter.name);
        // From no other bit and from every other bit.
        for (bool others : {false, true}) {
            PlainEffect effect;
            for (const auto& other : setters) {
                other.set(effect, others);
            }
            const VstInt32 before = effect.getAeffect()->flags;
            setter.set(effect, true);
            setter.set(effect, true);
            EXPECT_EQ(effect.getAeffect()->flags, before | setter.bit);
            setter.set(effect, false);
            EXPECT_EQ(effect.getAeffect()->flags, before & ~setter.bit);
        }
    }
    Zelk zelk(nullptr);
    zelk.canProcessReplacing(false);
    EXPECT_EQ(zelk.getAeffect()->flags, effFlagsCanDoubleReplacing);
}

TEST(EffectRecord, SettersStoreWhateverTheyAreGiven) {
    PlainEffect effect;
    AEffect* record = effect.getAeffect();
    effect.setProgram(7); // one program only: still stored
    EXPECT_EQ(effect.getProgram(), 7);
    effect.setSampleRate(-1.0f);
    effect.setBlockSize(0);
    EXPECT_EQ(effect.getSampleRate(), -1.0f);
    EXPECT_EQ(effect.getBlockSize(), 0);
    effect.setBlockSizeAndSampleRate(512, 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    effect.setUniqueID(-5);
    effect.setNumInputs(6);
    effect.setNumOutputs(8);
    effect.setInitialDelay(64);
    effect.setRealtimeQualities(3);
    effect.setOfflineQualities(4);
    EXPECT_EQ(record->uniqueID, -5);
    EXPECT_EQ(record->numInputs, 6);
    EXPECT_EQ(record->numOutputs, 8);
    EXPECT_EQ(record->initialDelay, 64);
    EXPECT_EQ(record->realQualities, 3);
    EXPECT_EQ(record->offQualities, 4);
    EXPECT_EQ(effect.getAeffect(), record);
    EXPECT_EQ(record->object, &effect);
}
