#include "pluginlibrary.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace host {

namespace {

template <typename Function>
PluginEntry asEntry(Function function) noexcept {
    PluginEntry entry = nullptr;
    static_assert(sizeof entry == sizeof function);
    std::memcpy(&entry, &function, sizeof entry);
    return entry;
}

#if defined(_WIN32)
std::wstring widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}
#endif

} // namespace

PluginLibrary::PluginLibrary(const std::string& path)
    : libraryPath(path) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryW(widen(path).c_str());
    if (module == nullptr) {
        message = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    }
    handle = reinterpret_cast<void*>(module);
#else
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        message = reason != nullptr ? reason : "cannot load " + path;
    }
#endif
}

PluginLibrary::~PluginLibrary() {
    if (handle == nullptr) {
        return;
    }
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

PluginEntry PluginLibrary::entry(const char* name) const noexcept {
    if (handle == nullptr) {
        return nullptr;
    }
#if defined(_WIN32)
    return asEntry(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
#else
    return asEntry(dlsym(handle, name));
#endif
}

PluginEntry PluginLibrary::entryByOrdinal(unsigned ordinal) const noexcept {
#if defined(_WIN32)
    if (handle == nullptr || ordinal == 0 || ordinal > 0xFFFF) {
        return nullptr;
    }
    return asEntry(GetProcAddress(reinterpret_cast<HMODULE>(handle),
                                  MAKEINTRESOURCEA(static_cast<WORD>(ordinal))));
#else
    (void)ordinal;
    return nullptr;
#endif
}

PluginEntry PluginLibrary::findEntry() const noexcept {
    for (const char* name : kEntryNames) {
        if (PluginEntry found = entry(name)) {
            return found;
        }
    }
    return nullptr;
}

std::string programFolder() {
#if defined(_WIN32)
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    std::string path(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), path.data(), size, nullptr,
                        nullptr);
    const std::size_t slash = path.find_last_of("\\/");
#else
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string pluginFileName(const std::string& name) {
#if defined(_WIN32)
    return name + ".dll";
#else
    return name + ".so";
#endif
}

} // namespace host
