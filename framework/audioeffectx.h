// AudioEffectX: the class effects derive from. It serves the extended opcodes 25 to 79, passes
// every other opcode to AudioEffect, and appends the extended operations, each with a default.
// It keeps no data of its own.
#pragma once

#include "audioeffect.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms,
                 VstInt32 numParams) noexcept;
    ~AudioEffectX() override;

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) noexcept override;
    // Asks the host for events when the effect is an instrument or receives MIDI.
    void resume() noexcept override;

    // Parameters and programs.
    virtual bool canParameterBeAutomated(VstInt32 index) noexcept;
    virtual bool string2parameter(VstInt32 index, const char* text) noexcept;
    virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* p) noexcept;

    virtual bool beginEdit(VstInt32 index) noexcept;
    virtual bool endEdit(VstInt32 index) noexcept;

    virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) noexcept;
    virtual bool beginSetProgram() noexcept;
    virtual bool endSetProgram() noexcept;
    virtual VstInt32 beginLoadBank(VstPatchChunkInfo* info) noexcept;
    virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* info) noexcept;

    // Connections, rates and latencies.
    virtual bool ioChanged() noexcept;
    virtual double updateSampleRate() noexcept;
    virtual VstInt32 updateBlockSize() noexcept;
    virtual VstInt32 getInputLatency() noexcept;
    virtual VstInt32 getOutputLatency() noexcept;

    virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties) noexcept;
    virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties) noexcept;
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                       VstSpeakerArrangement* pluginOutput) noexcept;
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                       VstSpeakerArrangement** pluginOutput) noexcept;
    virtual bool setBypass(bool onOff) noexcept;
    virtual bool setPanLaw(VstInt32 type, float value) noexcept;
    virtual bool setProcessPrecision(VstInt32 precision) noexcept;
    virtual VstInt32 getNumMidiInputChannels() noexcept;
    virtual VstInt32 getNumMidiOutputChannels() noexcept;

    virtual VstTimeInfo* getTimeInfo(VstInt32 filter) noexcept;
    virtual VstInt32 getCurrentProcessLevel() noexcept;
    virtual VstInt32 getAutomationState() noexcept;

    // Events and processing.
    virtual VstInt32 processEvents(VstEvents* events) noexcept;
    virtual VstInt32 startProcess() noexcept;
    virtual VstInt32 stopProcess() noexcept;
    virtual bool processVariableIo(VstVariableIo* varIo) noexcept;
    virtual VstInt32 setTotalSampleToProcess(VstInt32 value) noexcept;

    // The host's identity and capabilities.
    virtual bool getHostVendorString(char* text) noexcept;
    virtual bool getHostProductString(char* text) noexcept;
    virtual VstInt32 getHostVendorVersion() noexcept;
    virtual VstIntPtr hostVendorSpecific(VstInt32 arg1, VstIntPtr arg2, void* ptrArg,
                                         float floatArg) noexcept;
    virtual VstInt32 canHostDo(const char* text) noexcept;
    virtual VstInt32 getHostLanguage() noexcept;

    virtual void isSynth(bool state) noexcept;
    virtual void noTail(bool state) noexcept;

    virtual VstInt32 getGetTailSize() noexcept;

    virtual void* getDirectory() noexcept;

    // The effect's identity and capabilities. The text buffers hold kVstMaxEffectNameLen + 1,
    // kVstMaxVendorStrLen + 1 and kVstMaxProductStrLen + 1 bytes.
    virtual bool getEffectName(char* name) noexcept;
    virtual bool getVendorString(char* text) noexcept;
    virtual bool getProductString(char* text) noexcept;
    virtual VstInt32 getVendorVersion() noexcept;
    virtual VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr,
                                     float opt) noexcept;
    virtual VstInt32 canDo(const char* text) noexcept;
    virtual VstInt32 getVstVersion() noexcept;
    virtual VstInt32 getPlugCategory() noexcept;

    // MIDI programs.
    virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* name) noexcept;
    virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* current) noexcept;
    virtual VstInt32 getMidiProgramCategory(VstInt32 channel,
                                            MidiProgramCategory* category) noexcept;
    virtual bool hasMidiProgramsChanged(VstInt32 channel) noexcept;
    virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName) noexcept;

    // Display and file selection.
    virtual bool updateDisplay() noexcept;
    virtual bool sizeWindow(VstInt32 width, VstInt32 height) noexcept;
    virtual bool openFileSelector(VstFileSelect* fileSelect) noexcept;
    virtual bool closeFileSelector(VstFileSelect* fileSelect) noexcept;

    virtual VstInt32 getNextShellPlugin(char* name) noexcept;

    // Speaker arrangements of the effect's own, in blocks of 8 + 112 * count bytes.
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement,
                                     VstInt32 channels) noexcept;
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement) noexcept;
    virtual bool copySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from) noexcept;
    virtual bool matchArrangement(VstSpeakerArrangement** to,
                                  const VstSpeakerArrangement* from) noexcept;

    // Offline processing.
    virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) noexcept;
    virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option) noexcept;
    virtual bool offlineStart(VstAudioFile* audioFiles, VstInt32 numAudioFiles,
                              VstInt32 numNewAudioFiles) noexcept;
    virtual VstInt32 offlineGetCurrentPass() noexcept;
    virtual VstInt32 offlineGetCurrentMetaPass() noexcept;

    virtual bool offlineNotify(VstAudioFile* audioFiles, VstInt32 numAudioFiles,
                               bool start) noexcept;
    virtual bool offlinePrepare(VstOfflineTask* offline, VstInt32 count) noexcept;
    virtual bool offlineRun(VstOfflineTask* offline, VstInt32 count) noexcept;
    virtual VstInt32 offlineGetNumPasses() noexcept;
    virtual VstInt32 offlineGetNumMetaPasses() noexcept;

    virtual void wantEvents(VstInt32 filter) noexcept;
    virtual VstInt32 tempoAt(VstInt32 position) noexcept;
    virtual VstInt32 getNumAutomatableParameters() noexcept;
    virtual VstInt32 getParameterQuantization() noexcept;

    virtual VstInt32 getNumCategories() noexcept;
    virtual bool copyProgram(VstInt32 destination) noexcept;

    virtual bool needIdle() noexcept;
    virtual AEffect* getPreviousPlug() noexcept;
    virtual AEffect* getNextPlug() noexcept;

    virtual void inputConnected(VstInt32 index, bool state) noexcept;
    virtual void outputConnected(VstInt32 index, bool state) noexcept;

    virtual VstInt32 willProcessReplacing() noexcept;

    virtual void wantAsyncOperation(bool state) noexcept;
    virtual void hasExternalBuffer(bool state) noexcept;

    virtual VstInt32 reportCurrentPosition() noexcept;
    virtual float* reportDestinationBuffer() noexcept;

    virtual void setOutputSamplerate(float samplerate) noexcept;
    virtual VstSpeakerArrangement* getInputSpeakerArrangement() noexcept;
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement() noexcept;
    virtual VstIntPtr openWindow(VstWindow* window) noexcept;
    virtual bool closeWindow(VstWindow* window) noexcept;

    virtual void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) noexcept;

    virtual bool getErrorText(char* text) noexcept;
    virtual void* getIcon() noexcept;
    virtual bool setViewPosition(VstInt32 x, VstInt32 y) noexcept;
    virtual VstInt32 fxIdle() noexcept;
    virtual bool keysRequired() noexcept;

    virtual bool getChunkFile(void* nativePath) noexcept;
};
