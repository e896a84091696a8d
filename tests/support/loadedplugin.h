// The built plug-in, loaded from beside the test program as a host loads it: Zelk.so natively,
// Zelk.dll under Wine. Loaded once per test program and kept until it ends.
#pragma once

#include "pluginlibrary.h"
#include "recordinghost.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

inline host::PluginLibrary& loadedPlugin() {
    static host::PluginLibrary library(host::programFolder() + host::pluginFileName("Zelk"));
    return library;
}

// The entry function found under `name` (VSTPluginMain by default); fails the test when the
// library or the entry is missing.
inline host::PluginEntry pluginEntry(const char* name = "VSTPluginMain") {
    host::PluginLibrary& library = loadedPlugin();
    EXPECT_TRUE(library.isLoaded()) << library.error();
    host::PluginEntry entry = library.entry(name);
    EXPECT_NE(entry, nullptr) << name << " is not exported by " << library.path();
    return entry;
}

// The entry's version probe: no record yet, audioMasterVersion, every other argument zero.
inline void expectVersionProbe(const host::HostCall& call) {
    EXPECT_EQ(call.effect, nullptr);
    EXPECT_EQ(call.opcode, audioMasterVersion);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 0);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.0f);
}

} // namespace testing_support
