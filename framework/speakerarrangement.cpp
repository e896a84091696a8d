// Speaker arrangement tools. (Placeholders until the tools are written.)
#include "audioeffectx.h"

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement**, VstInt32) noexcept {
    return false;
}
bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement**) noexcept {
    return true;
}
bool AudioEffectX::copySpeaker(VstSpeakerProperties*, const VstSpeakerProperties*) noexcept {
    return false;
}
bool AudioEffectX::matchArrangement(VstSpeakerArrangement**,
                                    const VstSpeakerArrangement*) noexcept {
    return false;
}
