// Reads a built library file as the platform's loader sees it: the format, the exported
// symbols and the libraries it needs. Knows PE32+ (Windows DLLs) and ELF64 (Linux libraries).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ExportedSymbol {
    std::string name;
    unsigned ordinal = 0; // PE only
    std::uint64_t address = 0;
};

struct ModuleImage {
    std::string error;    // empty when the file was read
    std::string format;   // "PE32+" or "ELF64"
    unsigned machine = 0; // 0x8664 (PE) or 62 (ELF) for x86-64
    bool isLibrary = false;
    std::string moduleName; // the name a PE module gives itself in its export directory
    std::vector<ExportedSymbol> exports;
    std::vector<std::string> imports; // DLLs a PE module imports from, or ELF DT_NEEDED entries
};

ModuleImage readModuleImage(const std::string& path);

} // namespace testing_support
