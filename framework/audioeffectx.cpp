#include "audioeffectx.h"

#include "aeffeditor.h"
#include "capabilities.h"
#include "dispatchutil.h"

#include <cstdint>

namespace {

// The key record for the editor's key operations: the character from `index`, the virtual key
// from the low byte of `value`, the modifiers from `opt` truncated toward zero. `opt` comes
// straight from the host: a NaN, an infinity or a value beyond the 32-bit range gives no
// modifiers rather than an undefined conversion.
VstKeyCode keyCodeOf(VstInt32 index, VstIntPtr value, float opt) noexcept {
    VstKeyCode key;
    key.character = index;
    key.virt = static_cast<unsigned char>(static_cast<std::uint64_t>(value) & 0xFFu);
    const double modifiers = opt;
    key.modifier = 0;
    if (modifiers > -2147483649.0 && modifiers < 2147483648.0) {
        const auto truncated = static_cast<VstInt32>(modifiers);
        key.modifier = static_cast<unsigned char>(static_cast<std::uint32_t>(truncated) & 0xFFu);
    }
    return key;
}

} // namespace

AudioEffectX::AudioEffectX(audioMasterCallback callback, VstInt32 programs,
                           VstInt32 params) noexcept
    : AudioEffect(callback, programs, params) {}

AudioEffectX::~AudioEffectX() = default;

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) noexcept {
    if (static_cast<std::uint32_t>(opcode) - static_cast<std::uint32_t>(effProcessEvents) >
        static_cast<std::uint32_t>(effGetNumMidiOutputChannels - effProcessEvents)) {
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
    switch (opcode) {
    // Parameters and programs.
    case effCanBeAutomated:
        return answer(canParameterBeAutomated(index));
    case effString2Parameter:
        return answer(string2parameter(index, static_cast<const char*>(ptr)));
    case effGetProgramNameIndexed:
        return answer(getProgramNameIndexed(low32(value), index, static_cast<char*>(ptr)));
    case effGetParameterProperties:
        return answer(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effBeginSetProgram:
        return answer(beginSetProgram());
    case effEndSetProgram:
        return answer(endSetProgram());
    case effBeginLoadBank:
        return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
        return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));

    // Inputs, outputs and processing.
    case effGetInputProperties:
        return answer(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
        return answer(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effProcessVarIo:
        return answer(processVariableIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
        return answer(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                            static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBypass:
        return answer(setBypass(value != 0));
    case effGetTailSize:
        return getGetTailSize();
    case effGetSpeakerArrangement:
        return answer(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                            static_cast<VstSpeakerArrangement**>(ptr)));
    case effStartProcess:
        return startProcess();
    case effStopProcess:
        return stopProcess();
    case effSetTotalSampleToProcess:
        return setTotalSampleToProcess(low32(value));
    case effSetPanLaw:
        return answer(setPanLaw(low32(value), opt));
    case effSetProcessPrecision:
        return answer(setProcessPrecision(low32(value)));

    // Offline processing.
    case effOfflineNotify:
        return answer(offlineNotify(static_cast<VstAudioFile*>(ptr), low32(value), index != 0));
    case effOfflinePrepare:
        return answer(offlinePrepare(static_cast<VstOfflineTask*>(ptr), low32(value)));
    case effOfflineRun:
        return answer(offlineRun(static_cast<VstOfflineTask*>(ptr), low32(value)));

    // Identity and capabilities.
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetEffectName:
        return answer(getEffectName(static_cast<char*>(ptr)));
    case effGetVendorString:
        return answer(getVendorString(static_cast<char*>(ptr)));
    case effGetProductString:
        return answer(getProductString(static_cast<char*>(ptr)));
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt); // the full pointer-sized answer
    case effCanDo:
        return canDo(static_cast<const char*>(ptr));
    case effGetVstVersion:
        return getVstVersion();
    case effShellGetNextPlugin:
        return getNextShellPlugin(static_cast<char*>(ptr));

    // Events and MIDI.
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
        return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
        return answer(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
        return answer(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effGetNumMidiInputChannels:
        return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
        return getNumMidiOutputChannels();

    // Editor.
    case effEditKeyDown:
        if (editor != nullptr) {
            VstKeyCode key = keyCodeOf(index, value, opt);
            return answer(editor->onKeyDown(&key));
        }
        return 0;
    case effEditKeyUp:
        if (editor != nullptr) {
            VstKeyCode key = keyCodeOf(index, value, opt);
            return answer(editor->onKeyUp(&key));
        }
        return 0;
    case effSetEditKnobMode:
        return editor != nullptr ? answer(editor->setKnobMode(low32(value))) : 0;

    default: // the extended opcodes without an operation
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

void AudioEffectX::resume() noexcept {
    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(effectCanDo::receiveVstMidiEvent) == 1) {
        wantEvents(1);
    }
}

VstInt32 AudioEffectX::getPlugCategory() noexcept {
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

// Property setters and accessors.

void AudioEffectX::isSynth(bool state) noexcept {
    setFlag(effFlagsIsSynth, state);
}
void AudioEffectX::noTail(bool state) noexcept {
    setFlag(effFlagsNoSoundInStop, state);
}
void AudioEffectX::wantAsyncOperation(bool state) noexcept {
    setFlag(effFlagsExtIsAsync, state);
}
void AudioEffectX::hasExternalBuffer(bool state) noexcept {
    setFlag(effFlagsExtHasBuffer, state);
}

void AudioEffectX::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) noexcept {
    blockSize = newBlockSize;
    sampleRate = newSampleRate;
}

// Defaults of the extended operations.

bool AudioEffectX::canParameterBeAutomated(VstInt32) noexcept {
    return true;
}
bool AudioEffectX::string2parameter(VstInt32, const char*) noexcept {
    return false;
}
bool AudioEffectX::getParameterProperties(VstInt32, VstParameterProperties*) noexcept {
    return false;
}
bool AudioEffectX::getProgramNameIndexed(VstInt32, VstInt32, char*) noexcept {
    return false;
}
bool AudioEffectX::beginSetProgram() noexcept {
    return false;
}
bool AudioEffectX::endSetProgram() noexcept {
    return false;
}
VstInt32 AudioEffectX::beginLoadBank(VstPatchChunkInfo*) noexcept {
    return 0;
}
VstInt32 AudioEffectX::beginLoadProgram(VstPatchChunkInfo*) noexcept {
    return 0;
}

bool AudioEffectX::getInputProperties(VstInt32, VstPinProperties*) noexcept {
    return false;
}
bool AudioEffectX::getOutputProperties(VstInt32, VstPinProperties*) noexcept {
    return false;
}
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) noexcept {
    return false;
}
// Both addresses come straight from the host: a null one is skipped rather than written through.
bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) noexcept {
    if (pluginInput != nullptr) {
        *pluginInput = nullptr;
    }
    if (pluginOutput != nullptr) {
        *pluginOutput = nullptr;
    }
    return false;
}
bool AudioEffectX::setBypass(bool) noexcept {
    return false;
}
bool AudioEffectX::setPanLaw(VstInt32, float) noexcept {
    return false;
}
bool AudioEffectX::setProcessPrecision(VstInt32) noexcept {
    return false;
}
VstInt32 AudioEffectX::getNumMidiInputChannels() noexcept {
    return 0;
}
VstInt32 AudioEffectX::getNumMidiOutputChannels() noexcept {
    return 0;
}

VstInt32 AudioEffectX::processEvents(VstEvents*) noexcept {
    return 0;
}
VstInt32 AudioEffectX::startProcess() noexcept {
    return 0;
}
VstInt32 AudioEffectX::stopProcess() noexcept {
    return 0;
}
bool AudioEffectX::processVariableIo(VstVariableIo*) noexcept {
    return false;
}
VstInt32 AudioEffectX::setTotalSampleToProcess(VstInt32 value) noexcept {
    return value;
}

VstInt32 AudioEffectX::getGetTailSize() noexcept {
    return 0;
}

bool AudioEffectX::getEffectName(char*) noexcept {
    return false;
}
bool AudioEffectX::getVendorString(char*) noexcept {
    return false;
}
bool AudioEffectX::getProductString(char*) noexcept {
    return false;
}
VstInt32 AudioEffectX::getVendorVersion() noexcept {
    return 0;
}
VstIntPtr AudioEffectX::vendorSpecific(VstInt32, VstIntPtr, void*, float) noexcept {
    return 0;
}
VstInt32 AudioEffectX::canDo(const char*) noexcept {
    return 0;
}
VstInt32 AudioEffectX::getVstVersion() noexcept {
    return kVstVersion;
}

VstInt32 AudioEffectX::getMidiProgramName(VstInt32, MidiProgramName*) noexcept {
    return 0;
}
VstInt32 AudioEffectX::getCurrentMidiProgram(VstInt32, MidiProgramName*) noexcept {
    return -1;
}
VstInt32 AudioEffectX::getMidiProgramCategory(VstInt32, MidiProgramCategory*) noexcept {
    return 0;
}
bool AudioEffectX::hasMidiProgramsChanged(VstInt32) noexcept {
    return false;
}
bool AudioEffectX::getMidiKeyName(VstInt32, MidiKeyName*) noexcept {
    return false;
}

VstInt32 AudioEffectX::getNextShellPlugin(char*) noexcept {
    return 0;
}

bool AudioEffectX::offlineNotify(VstAudioFile*, VstInt32, bool) noexcept {
    return false;
}
bool AudioEffectX::offlinePrepare(VstOfflineTask*, VstInt32) noexcept {
    return false;
}
bool AudioEffectX::offlineRun(VstOfflineTask*, VstInt32) noexcept {
    return false;
}
VstInt32 AudioEffectX::offlineGetNumPasses() noexcept {
    return 0;
}
VstInt32 AudioEffectX::offlineGetNumMetaPasses() noexcept {
    return 0;
}

VstInt32 AudioEffectX::getNumCategories() noexcept {
    return 1;
}
bool AudioEffectX::copyProgram(VstInt32) noexcept {
    return false;
}

void AudioEffectX::inputConnected(VstInt32, bool) noexcept {}
void AudioEffectX::outputConnected(VstInt32, bool) noexcept {}

VstInt32 AudioEffectX::reportCurrentPosition() noexcept {
    return 0;
}
float* AudioEffectX::reportDestinationBuffer() noexcept {
    return nullptr;
}

bool AudioEffectX::getErrorText(char*) noexcept {
    return false;
}
void* AudioEffectX::getIcon() noexcept {
    return nullptr;
}
bool AudioEffectX::setViewPosition(VstInt32, VstInt32) noexcept {
    return false;
}
VstInt32 AudioEffectX::fxIdle() noexcept {
    return 0;
}
bool AudioEffectX::keysRequired() noexcept {
    return false;
}
