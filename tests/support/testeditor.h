// An editor of the tests' own, which records what the framework asks of it.
#pragma once

#include "aeffeditor.h"

#include <string>
#include <vector>

namespace testing_support {

class TestEditor : public AEffEditor {
public:
    // `alive` is cleared when the editor is destroyed.
    TestEditor(AudioEffect* owner, bool* aliveFlag) noexcept
        : AEffEditor(owner)
        , alive(aliveFlag) {
        *alive = true;
    }
    ~TestEditor() override { *alive = false; }

    std::vector<std::string> log;
    bool answer = true;      // what the bool operations answer
    ERect* rect = nullptr;   // what getRect hands out
    VstKeyCode lastKey = {}; // the last key record received

    bool getRect(ERect** where) noexcept override {
        log.push_back("getRect");
        *where = rect;
        return answer;
    }
    bool open(void* ptr) noexcept override {
        log.push_back(ptr != nullptr ? "open(window)" : "open(null)");
        return answer;
    }
    void close() noexcept override { log.push_back("close"); }
    void idle() noexcept override { log.push_back("idle"); }
    bool onKeyDown(VstKeyCode* key) noexcept override {
        log.push_back("onKeyDown");
        lastKey = *key;
        return answer;
    }
    bool onKeyUp(VstKeyCode* key) noexcept override {
        log.push_back("onKeyUp");
        lastKey = *key;
        return answer;
    }
    bool setKnobMode(VstInt32 mode) noexcept override {
        log.push_back("setKnobMode(" + std::to_string(mode) + ")");
        return answer;
    }

private:
    bool* alive;
};

} // namespace testing_support
