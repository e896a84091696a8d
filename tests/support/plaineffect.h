// An effect with every default of the framework. The least a concrete effect must add is its
// replacing process; this one does nothing there.
#pragma once

#include "audioeffectx.h"

namespace testing_support {

class PlainEffect : public AudioEffectX {
public:
    explicit PlainEffect(audioMasterCallback callback = nullptr, VstInt32 programs = 1,
                         VstInt32 params = 2) noexcept
        : AudioEffectX(callback, programs, params) {}
    void processReplacing(float**, float**, VstInt32) noexcept override {}
};

} // namespace testing_support
