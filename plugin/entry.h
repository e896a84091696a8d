// The library's boundary: the exported entry function and, on Windows, the module handle.
#pragma once

#include "aeffect.h"

#if defined(_WIN32)
#define ZELK_EXPORT
#else
#define ZELK_EXPORT __attribute__((visibility("default")))
#endif

// Exported as VSTPluginMain and as main, one function under two names. Asks the host for its
// interface version and, when it answers, creates one effect and returns its record; otherwise,
// or without memory, returns null.
extern "C" ZELK_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) noexcept;

#if defined(_WIN32)
// The module handle the loader passed to DllMain; null until the first notification.
extern void* hInstance;
#endif
