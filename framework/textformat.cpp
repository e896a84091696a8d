// Value-to-text conversion. (Placeholder texts until the conversions are written.)
#include "audioeffect.h"

#include "textcopy.h"

#include <cstddef>

void AudioEffect::dB2string(float, char* text, VstInt32 maxLen) noexcept {
    copyBounded(text, "", static_cast<std::size_t>(maxLen));
}
void AudioEffect::Hz2string(float, char* text, VstInt32 maxLen) noexcept {
    copyBounded(text, "", static_cast<std::size_t>(maxLen));
}
void AudioEffect::Ms2string(float, char* text, VstInt32 maxLen) noexcept {
    copyBounded(text, "", static_cast<std::size_t>(maxLen));
}
void AudioEffect::float2string(float, char* text, VstInt32 maxLen) noexcept {
    copyBounded(text, "", static_cast<std::size_t>(maxLen));
}
void AudioEffect::int2string(VstInt32, char* text, VstInt32 maxLen) noexcept {
    copyBounded(text, "", static_cast<std::size_t>(maxLen));
}
