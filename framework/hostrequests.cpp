// Requests from the effect to its host. Each makes at most one call of the host callback, always
// with the effect's own record, and converts the answer. Without a callback nothing is sent and
// the request answers its default.
#include "audioeffectx.h"

#include "dispatchutil.h"

namespace {

// Sends one request, or answers 0 without a host.
VstIntPtr ask(audioMasterCallback audioMaster, AEffect* effect, VstInt32 opcode, VstInt32 index = 0,
              VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) noexcept {
    return audioMaster != nullptr ? audioMaster(effect, opcode, index, value, ptr, opt) : 0;
}

// The answer kinds of the requests.
bool asFlag(VstIntPtr answer) noexcept {
    return answer != 0;
}
VstInt32 asZeroOne(VstIntPtr answer) noexcept {
    return answer != 0 ? 1 : 0;
}

} // namespace

// Base requests.

VstInt32 AudioEffect::getMasterVersion() noexcept {
    // A host that answers 0 and a missing host both count as version 1.
    const VstInt32 version = low32(ask(audioMaster, &cEffect, audioMasterVersion));
    return version != 0 ? version : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterCurrentId));
}

void AudioEffect::masterIdle() noexcept {
    ask(audioMaster, &cEffect, audioMasterIdle);
}

// The host answers 0 for a connected pin; without a host every pin counts as connected.
bool AudioEffect::isInputConnected(VstInt32 input) noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterPinConnected, input, 0)) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterPinConnected, output, 1)) == 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) noexcept {
    setParameter(index, value);
    ask(audioMaster, &cEffect, audioMasterAutomate, index, 0, nullptr, value);
}

// Time, rate and processing state.

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) noexcept {
    return reinterpret_cast<VstTimeInfo*>(
        ask(audioMaster, &cEffect, audioMasterGetTime, 0, filter));
}

VstInt32 AudioEffectX::tempoAt(VstInt32 position) noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterTempoAt, 0, position));
}

double AudioEffectX::updateSampleRate() noexcept {
    if (audioMaster != nullptr) {
        const VstIntPtr rate = audioMaster(&cEffect, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
        if (rate > 0) {
            sampleRate = static_cast<float>(rate); // written directly: setSampleRate is not called
        }
    }
    return sampleRate;
}

VstInt32 AudioEffectX::updateBlockSize() noexcept {
    if (audioMaster != nullptr) {
        const VstInt32 size =
            low32(audioMaster(&cEffect, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f));
        if (size > 0) {
            blockSize = size; // written directly: setBlockSize is not called
        }
    }
    return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetInputLatency));
}

VstInt32 AudioEffectX::getOutputLatency() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetOutputLatency));
}

VstInt32 AudioEffectX::willProcessReplacing() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterWillReplaceOrAccumulate));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::getAutomationState() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetAutomationState));
}

void AudioEffectX::setOutputSamplerate(float samplerate) noexcept {
    ask(audioMaster, &cEffect, audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}

void AudioEffectX::wantEvents(VstInt32 filter) noexcept {
    ask(audioMaster, &cEffect, audioMasterWantMidi, 0, filter);
}

bool AudioEffectX::ioChanged() noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterIOChanged));
}

bool AudioEffectX::needIdle() noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterNeedIdle));
}

// Parameters and display.

bool AudioEffectX::beginEdit(VstInt32 index) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterBeginEdit, index));
}

bool AudioEffectX::endEdit(VstInt32 index) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterEndEdit, index));
}

bool AudioEffectX::updateDisplay() noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterUpdateDisplay));
}

VstInt32 AudioEffectX::getNumAutomatableParameters() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetNumAutomatableParameters));
}

VstInt32 AudioEffectX::getParameterQuantization() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetParameterQuantization));
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterSizeWindow, width, height));
}

// The host's identity and capabilities.

bool AudioEffectX::getHostVendorString(char* text) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterGetVendorString, 0, 0, text));
}

bool AudioEffectX::getHostProductString(char* text) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterGetProductString, 0, 0, text));
}

VstInt32 AudioEffectX::getHostVendorVersion() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetVendorVersion));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 arg1, VstIntPtr arg2, void* ptrArg,
                                           float floatArg) noexcept {
    return ask(audioMaster, &cEffect, audioMasterVendorSpecific, arg1, arg2, ptrArg, floatArg);
}

VstInt32 AudioEffectX::canHostDo(const char* text) noexcept {
    // The host only reads the text.
    return asZeroOne(ask(audioMaster, &cEffect, audioMasterCanDo, 0, 0, const_cast<char*>(text)));
}

VstInt32 AudioEffectX::getHostLanguage() noexcept {
    return low32(ask(audioMaster, &cEffect, audioMasterGetLanguage));
}

void* AudioEffectX::getDirectory() noexcept {
    return reinterpret_cast<void*>(ask(audioMaster, &cEffect, audioMasterGetDirectory));
}

// Offline processing.

bool AudioEffectX::offlineStart(VstAudioFile* audioFiles, VstInt32 numAudioFiles,
                                VstInt32 numNewAudioFiles) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterOfflineStart, numNewAudioFiles,
                      numAudioFiles, audioFiles));
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) noexcept {
    return asFlag(
        ask(audioMaster, &cEffect, audioMasterOfflineRead, readSource ? 1 : 0, option, offline));
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstInt32 option) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterOfflineWrite, 0, option, offline));
}

VstInt32 AudioEffectX::offlineGetCurrentPass() noexcept {
    return asZeroOne(ask(audioMaster, &cEffect, audioMasterOfflineGetCurrentPass));
}

VstInt32 AudioEffectX::offlineGetCurrentMetaPass() noexcept {
    return asZeroOne(ask(audioMaster, &cEffect, audioMasterOfflineGetCurrentMetaPass));
}

// Windows, files, neighbouring effects and speaker arrangements.

VstIntPtr AudioEffectX::openWindow(VstWindow* window) noexcept {
    return ask(audioMaster, &cEffect, audioMasterOpenWindow, 0, 0, window);
}

bool AudioEffectX::closeWindow(VstWindow* window) noexcept {
    return asFlag(ask(audioMaster, &cEffect, audioMasterCloseWindow, 0, 0, window));
}

bool AudioEffectX::openFileSelector(VstFileSelect* fileSelect) noexcept {
    return fileSelect != nullptr &&
           asFlag(ask(audioMaster, &cEffect, audioMasterOpenFileSelector, 0, 0, fileSelect));
}

bool AudioEffectX::closeFileSelector(VstFileSelect* fileSelect) noexcept {
    return fileSelect != nullptr &&
           asFlag(ask(audioMaster, &cEffect, audioMasterCloseFileSelector, 0, 0, fileSelect));
}

bool AudioEffectX::getChunkFile(void* nativePath) noexcept {
    return nativePath != nullptr &&
           asFlag(ask(audioMaster, &cEffect, audioMasterGetChunkFile, 0, 0, nativePath));
}

AEffect* AudioEffectX::getPreviousPlug() noexcept {
    return reinterpret_cast<AEffect*>(ask(audioMaster, &cEffect, audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug() noexcept {
    return reinterpret_cast<AEffect*>(ask(audioMaster, &cEffect, audioMasterGetNextPlug));
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() noexcept {
    return reinterpret_cast<VstSpeakerArrangement*>(
        ask(audioMaster, &cEffect, audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() noexcept {
    return reinterpret_cast<VstSpeakerArrangement*>(
        ask(audioMaster, &cEffect, audioMasterGetOutputSpeakerArrangement));
}
