// Speaker arrangement tools: blocks of a header and speaker records, made, released, copied
// record by record and matched to a source, through the effect's own operations.
#include "plaineffect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace {

using ArrangementEffect = testing_support::PlainEffect;

// Counts the calls that matchArrangement makes and can make each of them fail.
class SpyEffect : public ArrangementEffect {
public:
    bool allocateArrangement(VstSpeakerArrangement** arrangement,
                             VstInt32 channels) noexcept override {
        ++allocations;
        requestedChannels = channels;
        return ArrangementEffect::allocateArrangement(
            arrangement, channels > grantedChannels ? grantedChannels : channels);
    }
    bool deallocateArrangement(VstSpeakerArrangement** arrangement) noexcept override {
        ++deallocations;
        if (refuseDeallocation) {
            return false;
        }
        return ArrangementEffect::deallocateArrangement(arrangement);
    }
    bool copySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from) noexcept override {
        ++copies;
        if (copies == failingCopy) {
            return false;
        }
        return ArrangementEffect::copySpeaker(to, from);
    }

    int allocations = 0;
    int deallocations = 0;
    int copies = 0;
    VstInt32 requestedChannels = -1;
    // Blocks get at most this many records.
    VstInt32 grantedChannels = std::numeric_limits<VstInt32>::max();
    bool refuseDeallocation = false;
    int failingCopy = 0; // the number of the copy that answers false; 0 for none
};

// Holds a block for the length of a test and releases it at the end, whatever happens.
struct Held {
    explicit Held(AudioEffectX& owner)
        : effect(owner) {}
    ~Held() { effect.AudioEffectX::deallocateArrangement(&block); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    AudioEffectX& effect;
    VstSpeakerArrangement* block = nullptr;
};

bool allZero(const void* bytes, std::size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < size; ++i) {
        if (p[i] != 0) {
            return false;
        }
    }
    return true;
}

// Under AddressSanitizer a block's size can be seen: its last byte is addressable, the byte after
// it is not (block sizes are multiples of 8, so that byte lies in the red zone).
void expectBlockSize(const VstSpeakerArrangement* block, VstInt32 channels) {
#if defined(__SANITIZE_ADDRESS__)
    const char* bytes = reinterpret_cast<const char*>(block);
    const std::size_t size = 8 + 112 * static_cast<std::size_t>(channels);
    EXPECT_FALSE(__asan_address_is_poisoned(bytes + size - 1)) << "shorter than " << size;
    EXPECT_TRUE(__asan_address_is_poisoned(bytes + size)) << "longer than " << size;
#else
    (void)block;
    (void)channels;
#endif
}

// A speaker record with every field set, the name followed by leftover bytes.
VstSpeakerProperties sampleSpeaker(int seed) {
    VstSpeakerProperties speaker;
    std::memset(&speaker, 0x40 + seed, sizeof speaker);
    speaker.azimuth = 0.25f * static_cast<float>(seed);
    speaker.elevation = -0.0f;
    speaker.radius = std::numeric_limits<float>::denorm_min();
    // A NaN with a payload must keep its bits.
    const std::uint32_t nanBits = 0x7fa00000u + static_cast<std::uint32_t>(seed);
    std::memcpy(&speaker.reserved, &nanBits, sizeof speaker.reserved);
    const std::string name = "Speaker " + std::to_string(seed);
    std::memcpy(speaker.name, name.c_str(), name.size() + 1);
    speaker.type = 100 + seed;
    for (std::size_t i = 0; i < sizeof speaker.future; ++i) {
        speaker.future[i] = static_cast<char>(seed * 31 + static_cast<int>(i));
    }
    return speaker;
}

// What copySpeaker must leave: the record unchanged, except that the name's bytes after its
// zero byte are zero.
VstSpeakerProperties copied(const VstSpeakerProperties& source) {
    VstSpeakerProperties expected = source;
    std::size_t length = 0;
    while (length < 63 && source.name[length] != '\0') {
        ++length;
    }
    std::memset(expected.name + length, 0, sizeof expected.name - length);
    return expected;
}

::testing::AssertionResult sameBytes(const VstSpeakerProperties& actual,
                                     const VstSpeakerProperties& expected) {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(&actual);
    const unsigned char* e = reinterpret_cast<const unsigned char*>(&expected);
    for (std::size_t i = 0; i < sizeof actual; ++i) {
        if (a[i] != e[i]) {
            return ::testing::AssertionFailure()
                   << "byte " << i << " is " << int(a[i]) << ", expected " << int(e[i]);
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(AllocateArrangement, MakesAZeroFilledBlockForTheCount) {
    ArrangementEffect effect;
    for (VstInt32 channels : {0, 1, 2, 8}) {
        SCOPED_TRACE("channels " + std::to_string(channels));
        Held held(effect);
        ASSERT_TRUE(effect.allocateArrangement(&held.block, channels));
        ASSERT_NE(held.block, nullptr);
        EXPECT_EQ(held.block->type, 0);
        EXPECT_EQ(held.block->numChannels, channels);
        EXPECT_TRUE(allZero(held.block->speakers,
                            sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels)));
        expectBlockSize(held.block, channels);
    }
}

TEST(AllocateArrangement, ReleasesTheBlockItReplaces) {
    ArrangementEffect effect;
    Held held(effect);
    ASSERT_TRUE(effect.allocateArrangement(&held.block, 3));
    held.block->type = 9;
    held.block->speakers[2] = sampleSpeaker(2);

    // The first block is released (the leak checker sees it), the second is new and zero.
    ASSERT_TRUE(effect.allocateArrangement(&held.block, 2));
    ASSERT_NE(held.block, nullptr);
    EXPECT_EQ(held.block->type, 0);
    EXPECT_EQ(held.block->numChannels, 2);
    EXPECT_TRUE(allZero(held.block->speakers, 2 * sizeof(VstSpeakerProperties)));
    expectBlockSize(held.block, 2);
}

// A count whose block size does not fit 32 bits gets no block: no allocation that could be too
// small for the records it claims. 38347923 records would wrap to 88 bytes.
TEST(AllocateArrangement, RefusesCountsWithoutA32BitBlockSize) {
    ArrangementEffect effect;
    const VstInt32 counts[] = {-1,       -112,     std::numeric_limits<VstInt32>::min(),
                               19173962, 38347923, std::numeric_limits<VstInt32>::max()};
    for (VstInt32 channels : counts) {
        SCOPED_TRACE("channels " + std::to_string(channels));
        Held held(effect);
        VstSpeakerArrangement* none = nullptr;
        EXPECT_FALSE(effect.allocateArrangement(&none, channels));
        EXPECT_EQ(none, nullptr);

        // A block held before is released all the same.
        ASSERT_TRUE(effect.allocateArrangement(&held.block, 4));
        EXPECT_FALSE(effect.allocateArrangement(&held.block, channels));
        EXPECT_EQ(held.block, nullptr);
    }
}

// The largest count, a block of 2,147,483,640 bytes. The zero-filled pages are not touched
// except for the first and the last record.
TEST(AllocateArrangement, TakesTheLargestCount) {
    constexpr VstInt32 kLargest = 19173961;
    ArrangementEffect effect;
    Held held(effect);
    ASSERT_TRUE(effect.allocateArrangement(&held.block, kLargest));
    ASSERT_NE(held.block, nullptr);
    EXPECT_EQ(held.block->numChannels, kLargest);
    EXPECT_TRUE(allZero(&held.block->speakers[0], sizeof(VstSpeakerProperties)));
    EXPECT_TRUE(allZero(&held.block->speakers[kLargest - 1], sizeof(VstSpeakerProperties)));
    expectBlockSize(held.block, kLargest);
}

TEST(DeallocateArrangement, ReleasesOnceAndAlwaysAnswersTrue) {
    ArrangementEffect effect;
    VstSpeakerArrangement* block = nullptr;
    EXPECT_TRUE(effect.deallocateArrangement(&block));
    EXPECT_EQ(block, nullptr);

    ASSERT_TRUE(effect.allocateArrangement(&block, 2));
    EXPECT_TRUE(effect.deallocateArrangement(&block));
    EXPECT_EQ(block, nullptr);
    // The second call finds the pointer null and releases nothing (a double release would be
    // reported by the address checker).
    EXPECT_TRUE(effect.deallocateArrangement(&block));
    EXPECT_EQ(block, nullptr);
}

TEST(CopySpeaker, CopiesEveryFieldBitForBit) {
    ArrangementEffect effect;
    const VstSpeakerProperties source = sampleSpeaker(5);
    VstSpeakerProperties target;
    std::memset(&target, 0xee, sizeof target);
    ASSERT_TRUE(effect.copySpeaker(&target, &source));
    // Everything but the leftovers after the source's name.
    EXPECT_TRUE(sameBytes(target, copied(source)));
}

TEST(CopySpeaker, BoundsTheNameAt63Characters) {
    struct Case {
        const char* name;
        std::size_t sourceLength; // characters before the zero byte; 64 for none
        std::size_t copiedLength;
    };
    const Case cases[] = {
        {"empty name", 0, 0},      {"one character", 1, 1},        {"62 characters", 62, 62},
        {"63 characters", 63, 63}, {"no zero byte in 64", 64, 63},
    };
    ArrangementEffect effect;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VstSpeakerProperties source;
        std::memset(&source, 0, sizeof source);
        std::memset(source.name, 'n', c.sourceLength);
        VstSpeakerProperties target;
        std::memset(&target, 'q', sizeof target);
        ASSERT_TRUE(effect.copySpeaker(&target, &source));
        for (std::size_t i = 0; i < sizeof target.name; ++i) {
            ASSERT_EQ(target.name[i], i < c.copiedLength ? 'n' : '\0') << "name byte " << i;
        }
    }
}

TEST(CopySpeaker, RefusesNullRecordsAndWritesNothing) {
    ArrangementEffect effect;
    const VstSpeakerProperties source = sampleSpeaker(1);
    VstSpeakerProperties target;
    std::memset(&target, 0xee, sizeof target);
    const VstSpeakerProperties untouched = target;

    EXPECT_FALSE(effect.copySpeaker(&target, nullptr));
    EXPECT_TRUE(sameBytes(target, untouched));
    EXPECT_FALSE(effect.copySpeaker(nullptr, &source));
    EXPECT_FALSE(effect.copySpeaker(nullptr, nullptr));
}

TEST(CopySpeaker, LeavesARecordCopiedOntoItselfAsItIs) {
    ArrangementEffect effect;
    VstSpeakerProperties speaker = sampleSpeaker(3);
    const VstSpeakerProperties expected = copied(speaker);
    ASSERT_TRUE(effect.copySpeaker(&speaker, &speaker));
    EXPECT_TRUE(sameBytes(speaker, expected));
}

// A source arrangement as an effect or a host would hand it in.
void fillSource(AudioEffectX& effect, Held& source, VstInt32 channels, VstInt32 type) {
    ASSERT_TRUE(effect.AudioEffectX::allocateArrangement(&source.block, channels));
    source.block->type = type;
    for (VstInt32 i = 0; i < channels; ++i) {
        source.block->speakers[i] = sampleSpeaker(i + 1);
    }
}

TEST(MatchArrangement, CopiesTheSourceIntoANewBlock) {
    struct Case {
        const char* name;
        VstInt32 sourceChannels;
        VstInt32 targetChannels; // the block held before; -1 for none
    };
    const Case cases[] = {
        {"no channels into nothing", 0, -1},
        {"no channels into a block of 2", 0, 2},
        {"one channel into nothing", 1, -1},
        {"three channels into a smaller block", 3, 1},
        {"three channels into a larger block", 3, 5},
        {"eight channels into a block of the same size", 8, 8},
    };
    ArrangementEffect effect;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Held source(effect);
        fillSource(effect, source, c.sourceChannels, 0x5e + c.sourceChannels);
        Held target(effect);
        if (c.targetChannels >= 0) {
            ASSERT_TRUE(effect.allocateArrangement(&target.block, c.targetChannels));
            target.block->type = -7;
            for (VstInt32 i = 0; i < c.targetChannels; ++i) {
                target.block->speakers[i] = sampleSpeaker(40 + i);
            }
        }

        ASSERT_TRUE(effect.matchArrangement(&target.block, source.block));
        ASSERT_NE(target.block, nullptr);
        EXPECT_EQ(target.block->type, source.block->type);
        EXPECT_EQ(target.block->numChannels, c.sourceChannels);
        expectBlockSize(target.block, c.sourceChannels);
        for (VstInt32 i = 0; i < c.sourceChannels; ++i) {
            SCOPED_TRACE("speaker " + std::to_string(i));
            EXPECT_TRUE(sameBytes(target.block->speakers[i], copied(source.block->speakers[i])));
        }
    }
}

TEST(MatchArrangement, RefusesANullSourceAndKeepsTheTarget) {
    SpyEffect effect;
    Held target(effect);
    ASSERT_TRUE(effect.AudioEffectX::allocateArrangement(&target.block, 2));
    target.block->type = 3;
    target.block->speakers[1] = sampleSpeaker(9);
    VstSpeakerArrangement* const before = target.block;

    EXPECT_FALSE(effect.matchArrangement(&target.block, nullptr));
    EXPECT_EQ(target.block, before);
    EXPECT_EQ(target.block->type, 3);
    EXPECT_EQ(target.block->numChannels, 2);
    EXPECT_TRUE(sameBytes(target.block->speakers[1], sampleSpeaker(9)));
    EXPECT_EQ(effect.deallocations + effect.allocations + effect.copies, 0);
}

TEST(MatchArrangement, GoesThroughTheEffectsOwnOperations) {
    SpyEffect effect;
    Held source(effect);
    fillSource(effect, source, 3, 12);
    Held target(effect);

    ASSERT_TRUE(effect.matchArrangement(&target.block, source.block));
    EXPECT_EQ(effect.deallocations, 1);
    EXPECT_EQ(effect.allocations, 1);
    EXPECT_EQ(effect.requestedChannels, 3);
    EXPECT_EQ(effect.copies, 3);
}

// The records copied are as many as the new block holds, read from the block itself.
TEST(MatchArrangement, CopiesAsManyRecordsAsTheNewBlockHolds) {
    SpyEffect effect;
    effect.grantedChannels = 2;
    Held source(effect);
    fillSource(effect, source, 5, 12);
    Held target(effect);

    ASSERT_TRUE(effect.matchArrangement(&target.block, source.block));
    EXPECT_EQ(effect.requestedChannels, 5);
    EXPECT_EQ(effect.copies, 2);
    ASSERT_NE(target.block, nullptr);
    EXPECT_EQ(target.block->numChannels, 2);
    EXPECT_EQ(target.block->type, 12);
    EXPECT_TRUE(sameBytes(target.block->speakers[1], copied(source.block->speakers[1])));
}

TEST(MatchArrangement, StopsAtTheFirstFailedCopy) {
    SpyEffect effect;
    effect.failingCopy = 2;
    Held source(effect);
    fillSource(effect, source, 4, 21);
    Held target(effect);

    EXPECT_FALSE(effect.matchArrangement(&target.block, source.block));
    EXPECT_EQ(effect.copies, 2);
    // The new block stays with the target: type set, the first record copied, the rest zero.
    ASSERT_NE(target.block, nullptr);
    EXPECT_EQ(target.block->type, 21);
    EXPECT_EQ(target.block->numChannels, 4);
    EXPECT_TRUE(sameBytes(target.block->speakers[0], copied(source.block->speakers[0])));
    EXPECT_TRUE(allZero(&target.block->speakers[1], 3 * sizeof(VstSpeakerProperties)));
}

TEST(MatchArrangement, StopsWhenTheOldBlockIsNotReleased) {
    SpyEffect effect;
    effect.refuseDeallocation = true;
    Held source(effect);
    fillSource(effect, source, 2, 1);
    Held target(effect);
    ASSERT_TRUE(effect.AudioEffectX::allocateArrangement(&target.block, 1));
    VstSpeakerArrangement* const before = target.block;

    EXPECT_FALSE(effect.matchArrangement(&target.block, source.block));
    EXPECT_EQ(target.block, before);
    EXPECT_EQ(target.block->numChannels, 1);
    EXPECT_EQ(effect.allocations, 0);
    EXPECT_EQ(effect.copies, 0);
}

// A source whose count has no block (a corrupt arrangement handed in) leaves the target null,
// and no record of the source is read: the source here is the bare header.
TEST(MatchArrangement, LeavesTheTargetNullWhenNoBlockCanBeMade) {
    ArrangementEffect effect;
    for (VstInt32 channels : {-1, 19173962, 38347923}) {
        SCOPED_TRACE("channels " + std::to_string(channels));
        Held source(effect);
        ASSERT_TRUE(effect.allocateArrangement(&source.block, 0));
        source.block->numChannels = channels;
        Held target(effect);
        ASSERT_TRUE(effect.allocateArrangement(&target.block, 2));

        EXPECT_FALSE(effect.matchArrangement(&target.block, source.block));
        EXPECT_EQ(target.block, nullptr);
    }
}

} // namespace
