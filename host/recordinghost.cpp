#include "recordinghost.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace host {

namespace {

// Which host each effect record belongs to. Effects call back on whatever thread the host
// drives them from, so the routing is guarded.
struct Routing {
    std::mutex mutex;
    std::map<AEffect*, RecordingHost*> owners;
    std::vector<RecordingHost*> live; // in order of construction
    RecordingHost* inEntry = nullptr;
};

Routing& routing() {
    static Routing instance;
    return instance;
}

} // namespace

RecordingHost::RecordingHost()
    : answerer([](const HostCall& call) -> VstIntPtr {
        return call.opcode == audioMasterVersion ? kInterfaceVersion : 0;
    }) {
    Routing& r = routing();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.live.push_back(this);
}

RecordingHost::~RecordingHost() {
    Routing& r = routing();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.live.erase(std::remove(r.live.begin(), r.live.end(), this), r.live.end());
    for (auto it = r.owners.begin(); it != r.owners.end();) {
        it = it->second == this ? r.owners.erase(it) : std::next(it);
    }
    if (r.inEntry == this) {
        r.inEntry = nullptr;
    }
}

audioMasterCallback RecordingHost::callback() noexcept {
    return &RecordingHost::dispatch;
}

void RecordingHost::answerWith(Answerer newAnswerer) {
    answerer = std::move(newAnswerer);
}

AEffect* RecordingHost::create(PluginEntry entry) {
    Routing& r = routing();
    {
        std::lock_guard<std::mutex> lock(r.mutex);
        r.inEntry = this;
    }
    AEffect* effect = entry(callback());
    std::lock_guard<std::mutex> lock(r.mutex);
    if (effect != nullptr) {
        r.owners[effect] = this; // a record address may be reused after an effect is closed
    }
    return effect;
}

VstIntPtr RecordingHost::dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
    RecordingHost* target = nullptr;
    {
        Routing& r = routing();
        std::lock_guard<std::mutex> lock(r.mutex);
        const auto owner = r.owners.find(effect);
        if (owner != r.owners.end()) {
            target = owner->second;
        } else if (r.inEntry != nullptr) {
            target = r.inEntry;
        } else if (!r.live.empty()) {
            target = r.live.back();
        }
    }
    return target != nullptr ? target->receive(HostCall{effect, opcode, index, value, ptr, opt})
                             : 0;
}

VstIntPtr RecordingHost::receive(const HostCall& call) {
    recorded.push_back(call);
    return answerer(call);
}

} // namespace host
