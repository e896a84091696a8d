// Driving one effect through its record, as a host does.
#pragma once

#include "aeffect.h"

#include <string>

namespace host {

class PluginInstance {
public:
    // Takes over `effect`; the destructor closes it unless close() already did.
    explicit PluginInstance(AEffect* effect) noexcept
        : record(effect) {}
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const noexcept { return record; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) const;
    // Sends a text opcode with a zeroed buffer of `capacity` bytes and returns the text written.
    std::string text(VstInt32 opcode, VstInt32 index = 0, std::size_t capacity = 256) const;

    void setParameter(VstInt32 index, float value) const;
    float getParameter(VstInt32 index) const;

    void setSampleRate(float rate) const;
    void resume() const;
    void suspend() const;

    void process(float** inputs, float** outputs, VstInt32 frames) const;
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) const;
    void processDoubleReplacing(double** inputs, double** outputs, VstInt32 frames) const;

    // Sends effClose; the record is invalid afterwards. Returns the answer.
    VstIntPtr close();

private:
    AEffect* record;
};

} // namespace host
