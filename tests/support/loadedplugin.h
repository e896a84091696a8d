// The built plug-in, loaded from beside the test program as a host loads it: Zelk.so natively,
// Zelk.dll under Wine. Loaded once per test program and kept until it ends.
#pragma once

#include "pluginlibrary.h"

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

} // namespace testing_support
