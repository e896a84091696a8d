#include "plugininstance.h"

#include <vector>

namespace host {

PluginInstance::~PluginInstance() {
    if (record != nullptr) {
        close();
    }
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) const {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, std::size_t capacity) const {
    std::vector<char> buffer(capacity, '\0');
    dispatch(opcode, index, 0, buffer.data());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

void PluginInstance::setParameter(VstInt32 index, float value) const {
    record->setParameter(record, index, value);
}

float PluginInstance::getParameter(VstInt32 index) const {
    return record->getParameter(record, index);
}

void PluginInstance::setSampleRate(float rate) const {
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}
void PluginInstance::resume() const {
    dispatch(effMainsChanged, 0, 1);
}
void PluginInstance::suspend() const {
    dispatch(effMainsChanged, 0, 0);
}

void PluginInstance::process(float** inputs, float** outputs, VstInt32 frames) const {
    record->process(record, inputs, outputs, frames);
}

void PluginInstance::processReplacing(float** inputs, float** outputs, VstInt32 frames) const {
    record->processReplacing(record, inputs, outputs, frames);
}

void PluginInstance::processDoubleReplacing(double** inputs, double** outputs,
                                            VstInt32 frames) const {
    record->processDoubleReplacing(record, inputs, outputs, frames);
}

VstIntPtr PluginInstance::close() {
    const VstIntPtr result = dispatch(effClose);
    record = nullptr;
    return result;
}

} // namespace host
