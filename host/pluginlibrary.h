// Loading a plug-in library and finding its entry function, as a host does.
#pragma once

#include "aeffect.h"

#include <string>

namespace host {

using PluginEntry = AEffect* (*)(audioMasterCallback audioMaster);

// The names the entry function is exported under, in the order hosts try them.
inline constexpr const char* kEntryNames[] = {"VSTPluginMain", "main"};

class PluginLibrary {
public:
    // Loads the library at `path` (UTF-8). On failure isLoaded() is false and error() says why.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary(); // unloads the library
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool isLoaded() const noexcept { return handle != nullptr; }
    const std::string& error() const noexcept { return message; }
    const std::string& path() const noexcept { return libraryPath; }

    // The entry function exported under `name`, or null.
    PluginEntry entry(const char* name) const noexcept;
    // The entry function exported under ordinal `ordinal`, or null. Only Windows modules have
    // ordinals; elsewhere this is always null.
    PluginEntry entryByOrdinal(unsigned ordinal) const noexcept;
    // The first of kEntryNames that the library exports, or null.
    PluginEntry findEntry() const noexcept;

    void* nativeHandle() const noexcept { return handle; }

private:
    std::string libraryPath;
    std::string message;
    void* handle = nullptr;
};

// The folder of the running program, with a trailing separator.
std::string programFolder();

// The file name plug-in libraries have on this platform: "Zelk.dll" or "Zelk.so" for "Zelk".
std::string pluginFileName(const std::string& name);

} // namespace host
