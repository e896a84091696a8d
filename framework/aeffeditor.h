// The editor interface. An effect with a window owns one editor object through its `editor`
// member; the dispatchers forward the editor opcodes to it. No effect of this library has an
// editor, but the framework serves one.
#pragma once

#include "aeffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* owner) noexcept
        : effect(owner) {}
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() noexcept { return effect; }
    // Stores the address of the editor's rectangle at `rect`.
    virtual bool getRect(ERect** rect) noexcept {
        (void)rect;
        return false;
    }
    // `ptr` is the host's parent window.
    virtual bool open(void* ptr) noexcept {
        (void)ptr;
        return false;
    }
    virtual void close() noexcept {}
    virtual bool isOpen() noexcept { return false; }
    virtual void idle() noexcept {}
    virtual bool onKeyDown(VstKeyCode* keyCode) noexcept {
        (void)keyCode;
        return false;
    }
    virtual bool onKeyUp(VstKeyCode* keyCode) noexcept {
        (void)keyCode;
        return false;
    }
    virtual bool onWheel(float distance) noexcept {
        (void)distance;
        return false;
    }
    virtual bool setKnobMode(VstInt32 mode) noexcept {
        (void)mode;
        return false;
    }

protected:
    AudioEffect* effect;
};
