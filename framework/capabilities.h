// The capability texts of the interface, shared by effects and hosts.
#pragma once

// Capabilities a host may ask an effect about (AudioEffectX::canDo).
namespace effectCanDo {
inline constexpr const char* sendVstEvents = "sendVstEvents";
inline constexpr const char* sendVstMidiEvent = "sendVstMidiEvent";
inline constexpr const char* receiveVstEvents = "receiveVstEvents";
inline constexpr const char* receiveVstMidiEvent = "receiveVstMidiEvent";
inline constexpr const char* receiveVstTimeInfo = "receiveVstTimeInfo";
inline constexpr const char* offline = "offline";
inline constexpr const char* midiProgramNames = "midiProgramNames";
inline constexpr const char* bypass = "bypass";

inline constexpr const char* const all[] = {
    sendVstEvents,      sendVstMidiEvent, receiveVstEvents, receiveVstMidiEvent,
    receiveVstTimeInfo, offline,          midiProgramNames, bypass,
};
} // namespace effectCanDo

// Capabilities an effect may ask its host about (AudioEffectX::canHostDo).
namespace hostCanDo {
inline constexpr const char* sendVstEvents = "sendVstEvents";
inline constexpr const char* sendVstMidiEvent = "sendVstMidiEvent";
inline constexpr const char* sendVstTimeInfo = "sendVstTimeInfo";
inline constexpr const char* receiveVstEvents = "receiveVstEvents";
inline constexpr const char* receiveVstMidiEvent = "receiveVstMidiEvent";
inline constexpr const char* reportConnectionChanges = "reportConnectionChanges";
inline constexpr const char* acceptIOChanges = "acceptIOChanges";
inline constexpr const char* sizeWindow = "sizeWindow";
inline constexpr const char* offline = "offline";
inline constexpr const char* openFileSelector = "openFileSelector";
inline constexpr const char* closeFileSelector = "closeFileSelector";
inline constexpr const char* startStopProcess = "startStopProcess";
inline constexpr const char* shellCategory = "shellCategory";
inline constexpr const char* sendVstMidiEventFlagIsRealtime = "sendVstMidiEventFlagIsRealtime";

inline constexpr const char* const all[] = {
    sendVstEvents,
    sendVstMidiEvent,
    sendVstTimeInfo,
    receiveVstEvents,
    receiveVstMidiEvent,
    reportConnectionChanges,
    acceptIOChanges,
    sizeWindow,
    offline,
    openFileSelector,
    closeFileSelector,
    startStopProcess,
    shellCategory,
    sendVstMidiEventFlagIsRealtime,
};
} // namespace hostCanDo
