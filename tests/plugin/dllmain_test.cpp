// The library's initialisation routine keeps the module handle it is given.
#include "entry.h"

#include <gtest/gtest.h>

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

TEST(LibraryInitialisation, KeepsTheModuleHandleOnEveryNotification) {
    EXPECT_EQ(hInstance, nullptr); // nothing but the loader writes it
    auto* module = reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr));
    for (DWORD reason :
         {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH}) {
        SCOPED_TRACE(reason);
        EXPECT_EQ(DllMain(module, reason, nullptr), TRUE);
        EXPECT_EQ(hInstance, reinterpret_cast<void*>(module));
    }
}
