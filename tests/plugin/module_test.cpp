// The built plug-in file itself: its format, what it exports and what it needs at load time.
#include "moduleimage.h"
#include "pluginlibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

using testing_support::ModuleImage;

ModuleImage builtPlugin() {
    return testing_support::readModuleImage(host::programFolder() + host::pluginFileName("Zelk"));
}

} // namespace

TEST(PluginModule, ExportsExactlyTheEntryUnderTwoNames) {
    const ModuleImage image = builtPlugin();
    ASSERT_EQ(image.error, "");
    ASSERT_TRUE(image.isLibrary);
    ASSERT_EQ(image.exports.size(), 2u);
    std::vector<testing_support::ExportedSymbol> exports = image.exports;
    std::sort(exports.begin(), exports.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    EXPECT_EQ(exports[0].name, "VSTPluginMain");
    EXPECT_EQ(exports[1].name, "main");
    EXPECT_EQ(exports[0].address, exports[1].address); // one function
    EXPECT_NE(exports[0].address, 0u);
#if defined(_WIN32)
    EXPECT_EQ(exports[0].ordinal, 1u);
    EXPECT_EQ(exports[1].ordinal, 2u);
#endif
}

#if defined(_WIN32)

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// DLLs that every Windows installation has.
bool isSystemDll(const std::string& name) {
    const std::string dll = lower(name);
    for (const char* system : {"kernel32.dll", "msvcrt.dll", "ucrtbase.dll", "ntdll.dll",
                               "user32.dll", "advapi32.dll", "ws2_32.dll", "shell32.dll"}) {
        if (dll == system) {
            return true;
        }
    }
    return dll.rfind("api-ms-win-", 0) == 0;
}

} // namespace

TEST(PluginModule, IsA64BitDllNamedZelk) {
    const ModuleImage image = builtPlugin();
    ASSERT_EQ(image.error, "");
    EXPECT_EQ(image.format, "PE32+");
    EXPECT_EQ(image.machine, 0x8664u);
    EXPECT_EQ(image.moduleName, "Zelk.dll");
}

// A user's Windows machine has no MinGW runtime DLLs: only system DLLs may be imported.
TEST(PluginModule, ImportsSystemDllsOnly) {
    const ModuleImage image = builtPlugin();
    ASSERT_EQ(image.error, "");
    EXPECT_FALSE(image.imports.empty());
    for (const std::string& dll : image.imports) {
        EXPECT_TRUE(isSystemDll(dll)) << dll;
    }
}

// The loader finds the entry by ordinal too, and the loaded module knows its own name.
TEST(PluginModule, LoadedEntryByNameAndOrdinal) {
    host::PluginLibrary library(host::programFolder() + host::pluginFileName("Zelk"));
    ASSERT_TRUE(library.isLoaded()) << library.error();
    EXPECT_NE(library.entry("VSTPluginMain"), nullptr);
    EXPECT_EQ(library.entryByOrdinal(1), library.entry("VSTPluginMain"));
    EXPECT_EQ(library.entryByOrdinal(2), library.entry("VSTPluginMain"));
    EXPECT_EQ(library.entry("main"), library.entry("VSTPluginMain"));
    EXPECT_EQ(library.entryByOrdinal(3), nullptr);
    EXPECT_EQ(library.entry("DllMain"), nullptr);
}

#else

TEST(PluginModule, IsA64BitSharedLibrary) {
    const ModuleImage image = builtPlugin();
    ASSERT_EQ(image.error, "");
    EXPECT_EQ(image.format, "ELF64");
    EXPECT_EQ(image.machine, 62u); // x86-64
}

#endif
