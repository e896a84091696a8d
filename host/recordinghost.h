// A host callback that records every request an effect makes and answers as its owner asks.
#pragma once

#include "aeffect.h"
#include "pluginlibrary.h"

#include <functional>
#include <vector>

namespace host {

// One call of the host callback, as the effect made it.
struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

class RecordingHost {
public:
    using Answerer = std::function<VstIntPtr(const HostCall& call)>;

    // The interface version a host of this interface reports.
    static constexpr VstIntPtr kInterfaceVersion = 2400;

    // Answers kInterfaceVersion to audioMasterVersion and 0 to everything else.
    RecordingHost();
    ~RecordingHost();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    // The plain function to hand to an entry function or an effect's constructor. Calls with the
    // record of an effect that this host created reach this host; calls with any other record
    // (the entry's version probe, or an effect constructed directly) reach the host that most
    // recently called an entry function, or else the most recently constructed one.
    static audioMasterCallback callback() noexcept;

    void answerWith(Answerer answerer);
    // Calls `entry` with this host's callback and returns the record it answers (or null).
    AEffect* create(PluginEntry entry);

    const std::vector<HostCall>& calls() const noexcept { return recorded; }
    void clearCalls() noexcept { recorded.clear(); }

private:
    static VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
    VstIntPtr receive(const HostCall& call);

    Answerer answerer;
    std::vector<HostCall> recorded;
};

} // namespace host
