#include "entry.h"

#include "audioeffect.h"

#if defined(_WIN32)
#include <windows.h>
#endif

AEffect* VSTPluginMain(audioMasterCallback audioMaster) noexcept {
    // Without a callback there is no host to ask, and nothing to create.
    if (audioMaster == nullptr) {
        return nullptr;
    }
    // The version probe carries no record: no object exists yet.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}

#if defined(_WIN32)

void* hInstance = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)reason;
    (void)reserved;
    hInstance = module;
    return TRUE;
}

#else

// The same function under its second name.
extern "C" ZELK_EXPORT AEffect* zelkMainAlias(audioMasterCallback audioMaster) noexcept
    __asm__("main") __attribute__((alias("VSTPluginMain")));

#endif
