#include "audioeffect.h"

#include "aeffeditor.h"
#include "dispatchutil.h"

#include <cstdint>
#include <cstring>

namespace {

// The record's entry points. Each finds its object through the record and calls one virtual
// operation; none of them tests its arguments.

AudioEffect* objectOf(AEffect* e) noexcept {
    return static_cast<AudioEffect*>(e->object);
}

VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt) noexcept {
    AudioEffect* effect = objectOf(e);
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect; // the record goes with the object
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    objectOf(e)->process(inputs, outputs, sampleFrames);
}

void setParameterClass(AEffect* e, VstInt32 index, float value) noexcept {
    objectOf(e)->setParameter(index, value);
}

float getParameterClass(AEffect* e, VstInt32 index) noexcept {
    return objectOf(e)->getParameter(index);
}

void processClassReplacing(AEffect* e, float** inputs, float** outputs,
                           VstInt32 sampleFrames) noexcept {
    objectOf(e)->processReplacing(inputs, outputs, sampleFrames);
}

void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                 VstInt32 sampleFrames) noexcept {
    objectOf(e)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback callback, VstInt32 programs, VstInt32 params) noexcept
    : audioMaster(callback)
    , editor(nullptr)
    , sampleRate(44100.0f)
    , blockSize(1024)
    , numPrograms(programs)
    , numParams(params)
    , curProgram(0) {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
    canProcessReplacing(true);
}

AudioEffect::~AudioEffect() {
    delete editor;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) noexcept {
    if (static_cast<std::uint32_t>(opcode) > static_cast<std::uint32_t>(effSetChunk)) {
        return 0;
    }
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        // No lower bound: a negative program reaches setProgram.
        if (value < static_cast<VstIntPtr>(numPrograms)) {
            setProgram(low32(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<const char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(low32(value));
        return 0;
    case effMainsChanged:
        if (value == 0) {
            suspend();
        } else {
            resume();
        }
        return 0;
    case effEditGetRect:
        return editor != nullptr ? answer(editor->getRect(static_cast<ERect**>(ptr))) : 0;
    case effEditOpen:
        return editor != nullptr ? answer(editor->open(ptr)) : 0;
    case effEditClose:
        if (editor != nullptr) {
            editor->close();
        }
        return 0;
    case effEditIdle:
        if (editor != nullptr) {
            editor->idle();
        }
        return 0;
    case effIdentify:
        return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, low32(value), index != 0);
    default: // effGetVu, effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep
        return 0;
    }
}

// Defaults of the base operations.

void AudioEffect::open() noexcept {}
void AudioEffect::close() noexcept {}
void AudioEffect::suspend() noexcept {}
void AudioEffect::resume() noexcept {}

void AudioEffect::processDoubleReplacing(double**, double**, VstInt32) noexcept {}
void AudioEffect::process(float**, float**, VstInt32) noexcept {}

void AudioEffect::setParameter(VstInt32, float) noexcept {}
float AudioEffect::getParameter(VstInt32) noexcept {
    return 0.0f;
}

void AudioEffect::setProgramName(const char*) noexcept {}
void AudioEffect::getProgramName(char* name) noexcept {
    *name = '\0';
}
void AudioEffect::getParameterLabel(VstInt32, char* label) noexcept {
    *label = '\0';
}
void AudioEffect::getParameterDisplay(VstInt32, char* text) noexcept {
    *text = '\0';
}
void AudioEffect::getParameterName(VstInt32, char* text) noexcept {
    *text = '\0';
}

VstInt32 AudioEffect::getChunk(void**, bool) noexcept {
    return 0;
}
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool) noexcept {
    return 0;
}

float AudioEffect::getVu() noexcept {
    return 0.0f;
}

// Accessors and property setters. None validates its argument.

void AudioEffect::setSampleRate(float newSampleRate) noexcept {
    sampleRate = newSampleRate;
}
void AudioEffect::setBlockSize(VstInt32 newBlockSize) noexcept {
    blockSize = newBlockSize;
}
VstInt32 AudioEffect::getProgram() noexcept {
    return curProgram;
}
void AudioEffect::setProgram(VstInt32 program) noexcept {
    curProgram = program;
}
void AudioEffect::setUniqueID(VstInt32 id) noexcept {
    cEffect.uniqueID = id;
}
void AudioEffect::setNumInputs(VstInt32 inputs) noexcept {
    cEffect.numInputs = inputs;
}
void AudioEffect::setNumOutputs(VstInt32 outputs) noexcept {
    cEffect.numOutputs = outputs;
}
void AudioEffect::canProcessReplacing(bool state) noexcept {
    setFlag(effFlagsCanReplacing, state);
}
void AudioEffect::canDoubleReplacing(bool state) noexcept {
    setFlag(effFlagsCanDoubleReplacing, state);
}
void AudioEffect::programsAreChunks(bool state) noexcept {
    setFlag(effFlagsProgramChunks, state);
}
void AudioEffect::setInitialDelay(VstInt32 delay) noexcept {
    cEffect.initialDelay = delay;
}
AEffEditor* AudioEffect::getEditor() noexcept {
    return editor;
}
AEffect* AudioEffect::getAeffect() noexcept {
    return &cEffect;
}
float AudioEffect::getSampleRate() noexcept {
    return sampleRate;
}
VstInt32 AudioEffect::getBlockSize() noexcept {
    return blockSize;
}
void AudioEffect::hasVu(bool state) noexcept {
    setFlag(effFlagsHasVu, state);
}
void AudioEffect::hasClip(bool state) noexcept {
    setFlag(effFlagsHasClip, state);
}
void AudioEffect::canMono(bool state) noexcept {
    setFlag(effFlagsCanMono, state);
}
void AudioEffect::setRealtimeQualities(VstInt32 qualities) noexcept {
    cEffect.realQualities = qualities;
}
void AudioEffect::setOfflineQualities(VstInt32 qualities) noexcept {
    cEffect.offQualities = qualities;
}

void AudioEffect::setFlag(VstInt32 bit, bool state) noexcept {
    if (state) {
        cEffect.flags |= bit;
    } else {
        cEffect.flags &= ~bit;
    }
}
