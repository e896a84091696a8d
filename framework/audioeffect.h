// AudioEffect: the base of every effect. It owns the host-visible record, turns the host's
// core opcodes into calls of virtual operations and supplies a default for each of them.
//
// The order of the virtual operations is part of the design and never changes: effects built
// against one order keep working. New operations go to the end of AudioEffectX.
//
// Every operation is noexcept: no exception may cross into the host.
#pragma once

#include "aeffect.h"

class AEffEditor;
class AudioEffect;

// Defined by the effect's module: returns a new effect built with `audioMaster`, or null when
// no memory can be had.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster) noexcept;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams) noexcept;
    virtual ~AudioEffect();

    // The record points back at the object, so the object can be neither copied nor moved.
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // [main thread] Serves opcodes 0 to 24; answers 0 to everything else.
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) noexcept;

    virtual void open() noexcept;
    virtual void close() noexcept;
    virtual void suspend() noexcept;
    virtual void resume() noexcept;

    virtual void setSampleRate(float newSampleRate) noexcept;
    virtual void setBlockSize(VstInt32 newBlockSize) noexcept;

    // [audio path] Replacing process: the results overwrite the output buffers, which may be the
    // input buffers.
    virtual void processReplacing(float** inputs, float** outputs,
                                  VstInt32 sampleFrames) noexcept = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs,
                                        VstInt32 sampleFrames) noexcept;

    virtual void setParameter(VstInt32 index, float value) noexcept;
    virtual float getParameter(VstInt32 index) noexcept;
    // Sets the parameter, then tells the host.
    virtual void setParameterAutomated(VstInt32 index, float value) noexcept;

    virtual VstInt32 getProgram() noexcept;
    virtual void setProgram(VstInt32 program) noexcept;

    virtual void setProgramName(const char* name) noexcept;
    // The text operations write into the host's buffer: kVstMaxProgNameLen + 1 bytes for the
    // program name, kVstMaxParamStrLen + 1 for the parameter texts.
    virtual void getProgramName(char* name) noexcept;
    virtual void getParameterLabel(VstInt32 index, char* label) noexcept;
    virtual void getParameterDisplay(VstInt32 index, char* text) noexcept;
    virtual void getParameterName(VstInt32 index, char* text) noexcept;

    virtual VstInt32 getChunk(void** data, bool isPreset) noexcept;
    virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) noexcept;

    virtual void setUniqueID(VstInt32 id) noexcept;
    virtual void setNumInputs(VstInt32 inputs) noexcept;
    virtual void setNumOutputs(VstInt32 outputs) noexcept;
    virtual void canProcessReplacing(bool state) noexcept;
    virtual void canDoubleReplacing(bool state) noexcept;
    virtual void programsAreChunks(bool state) noexcept;
    virtual void setInitialDelay(VstInt32 delay) noexcept;
    virtual AEffEditor* getEditor() noexcept;
    virtual AEffect* getAeffect() noexcept;
    virtual float getSampleRate() noexcept;
    virtual VstInt32 getBlockSize() noexcept;

    // Requests to the host.
    virtual VstInt32 getMasterVersion() noexcept;
    virtual VstInt32 getCurrentUniqueId() noexcept;
    virtual void masterIdle() noexcept;

    // Value-to-text conversion into `text`, which holds maxLen + 1 bytes.
    virtual void dB2string(float value, char* text, VstInt32 maxLen) noexcept;
    virtual void Hz2string(float samples, char* text, VstInt32 maxLen) noexcept;
    virtual void Ms2string(float samples, char* text, VstInt32 maxLen) noexcept;
    virtual void float2string(float value, char* text, VstInt32 maxLen) noexcept;
    virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen) noexcept;

    // [audio path] Accumulating process of old hosts.
    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept;
    virtual float getVu() noexcept;

    virtual void hasVu(bool state) noexcept;
    virtual void hasClip(bool state) noexcept;
    virtual void canMono(bool state) noexcept;
    virtual void setRealtimeQualities(VstInt32 qualities) noexcept;
    virtual void setOfflineQualities(VstInt32 qualities) noexcept;

    virtual bool isInputConnected(VstInt32 input) noexcept;
    virtual bool isOutputConnected(VstInt32 output) noexcept;

protected:
    // Sets or clears one bit of the record's flags.
    void setFlag(VstInt32 bit, bool state) noexcept;

    audioMasterCallback audioMaster; // may be null: requests then answer their defaults
    AEffEditor* editor;              // owned; null when the effect has no editor
    float sampleRate;
    VstInt32 blockSize;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram;
    AEffect cEffect;
};
