// Speaker arrangement tools: blocks of an 8-byte header and numChannels speaker records that an
// effect keeps for itself. A block is made and released only here, with one allocator
// (std::calloc and std::free), and belongs to whoever holds the pointer to it.
#include "audioeffectx.h"

#include "textcopy.h"

#include <cstddef> // std::size_t
#include <cstdint> // INT32_MAX
#include <cstdlib> // std::calloc, std::free
#include <cstring> // std::memmove

namespace {

// The largest count whose block size, 8 + 112 * count bytes, fits a signed 32-bit integer, the
// width in which block sizes are kept. Larger or negative counts get no block.
constexpr VstInt32 kMaxChannels = 19173961;
static_assert(sizeof(VstSpeakerArrangement) +
                      sizeof(VstSpeakerProperties) * static_cast<std::size_t>(kMaxChannels) <=
                  INT32_MAX,
              "the largest block has a 32-bit size");
static_assert(sizeof(VstSpeakerArrangement) +
                      sizeof(VstSpeakerProperties) * static_cast<std::size_t>(kMaxChannels + 1) >
                  INT32_MAX,
              "one record more has not");

// A speaker name holds at most 63 characters before its zero byte.
constexpr std::size_t kNameBound = sizeof(VstSpeakerProperties::name) - 1;

void releaseBlock(VstSpeakerArrangement** arrangement) noexcept {
    if (*arrangement != nullptr) {
        std::free(*arrangement);
        *arrangement = nullptr;
    }
}

// Copies a field as bytes, so that floats keep their exact bits (a NaN's payload too), and a
// record copied onto itself stays as it is.
template <typename Field>
void copyBits(Field& to, const Field& from) noexcept {
    std::memmove(&to, &from, sizeof(Field));
}

} // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement,
                                       VstInt32 channels) noexcept {
    releaseBlock(arrangement);
    if (channels < 0 || channels > kMaxChannels) {
        return false;
    }
    const std::size_t size = sizeof(VstSpeakerArrangement) +
                             sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels);
    // The block comes zero-filled: type 0 and every speaker record zero.
    auto* block = static_cast<VstSpeakerArrangement*>(std::calloc(1, size));
    if (block == nullptr) {
        return false;
    }
    block->numChannels = channels;
    *arrangement = block;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) noexcept {
    releaseBlock(arrangement);
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to,
                               const VstSpeakerProperties* from) noexcept {
    if (from == nullptr) {
        return false;
    }
    if (to == nullptr) {
        return false;
    }
    // A source name without a zero byte in its first 63 characters is cut after them.
    copyBounded(to->name, from->name, kNameBound);
    to->type = from->type;
    copyBits(to->azimuth, from->azimuth);
    copyBits(to->elevation, from->elevation);
    copyBits(to->radius, from->radius);
    copyBits(to->reserved, from->reserved);
    copyBits(to->future, from->future);
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to,
                                    const VstSpeakerArrangement* from) noexcept {
    if (from == nullptr) {
        return false;
    }
    // The effect's own operations, so that its overrides take part.
    if (!deallocateArrangement(to)) {
        return false;
    }
    if (!allocateArrangement(to, from->numChannels)) {
        return false;
    }
    (*to)->type = from->type;
    for (VstInt32 i = 0; i < (*to)->numChannels; ++i) {
        if (!copySpeaker(&(*to)->speakers[i], &from->speakers[i])) {
            return false;
        }
    }
    return true;
}
