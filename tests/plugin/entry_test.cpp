// The exported entry function of the built plug-in, called as a host calls it.
#include "loadedplugin.h"
#include "plugininstance.h"
#include "recordinghost.h"

#include <gtest/gtest.h>

#include <memory>

using host::HostCall;
using host::PluginInstance;
using host::RecordingHost;
using testing_support::pluginEntry;

TEST(PluginEntry, HostThatAnswersZeroGetsNothing) {
    RecordingHost recorder;
    recorder.answerWith([](const HostCall&) -> VstIntPtr { return 0; });
    EXPECT_EQ(recorder.create(pluginEntry()), nullptr);
    ASSERT_EQ(recorder.calls().size(), 1u); // the version probe, and nothing after it
    testing_support::expectVersionProbe(recorder.calls()[0]);
}

TEST(PluginEntry, AnyOtherAnswerCreatesAnEffect) {
    for (VstIntPtr answer : {VstIntPtr{1}, VstIntPtr{2400}, VstIntPtr{-1}, VstIntPtr{1} << 40}) {
        SCOPED_TRACE(testing::Message() << "answer " << answer);
        RecordingHost recorder;
        recorder.answerWith([answer](const HostCall&) { return answer; });
        AEffect* effect = recorder.create(pluginEntry());
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->magic, 0x56737450);
        EXPECT_NE(effect->object, nullptr);
        EXPECT_EQ(effect->uniqueID, 0x5A6B7168);
        ASSERT_EQ(recorder.calls().size(), 1u); // construction asks the host nothing
        EXPECT_EQ(recorder.calls()[0].effect, nullptr);
        EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    }
}

TEST(PluginEntry, NoCallbackCreatesNothing) {
    EXPECT_EQ(pluginEntry()(nullptr), nullptr);
}

TEST(PluginEntry, MainIsTheSameFunction) {
    EXPECT_EQ(pluginEntry("main"), pluginEntry("VSTPluginMain"));
}

TEST(PluginEntry, InstancesAreIndependent) {
    RecordingHost recorder;
    AEffect* firstRecord = recorder.create(pluginEntry());
    AEffect* secondRecord = recorder.create(pluginEntry());
    ASSERT_NE(firstRecord, nullptr);
    ASSERT_NE(secondRecord, nullptr);
    EXPECT_NE(firstRecord, secondRecord);
    EXPECT_NE(firstRecord->object, secondRecord->object);
    auto first = std::make_unique<PluginInstance>(firstRecord);
    PluginInstance second(secondRecord);

    first->setParameter(0, 1.0f);
    first->setParameter(1, 1.0f);
    first->dispatch(effSetProgramName, 0, 0, const_cast<char*>("first"));
    EXPECT_EQ(second.getParameter(0), 0.5f);
    EXPECT_EQ(second.getParameter(1), 0.0f);
    EXPECT_EQ(second.text(effGetProgramName), "Default");

    // An impulse through the first leaves the second's filter at rest.
    double impulse[2][4] = {{1, 0, 0, 0}, {1, 0, 0, 0}};
    double* channels[] = {impulse[0], impulse[1]};
    first->processDoubleReplacing(channels, channels, 4);
    double silence[2][2] = {};
    double* quiet[] = {silence[0], silence[1]};
    second.processDoubleReplacing(quiet, quiet, 2);
    EXPECT_EQ(silence[0][0], 0.0);
    EXPECT_EQ(silence[1][1], 0.0);

    EXPECT_EQ(first->close(), 1);
    first.reset();
    // The other one is still fully usable.
    second.setParameter(0, 0.25f);
    EXPECT_EQ(second.text(effGetParamDisplay, 0), "-10");
    double pulse[2][1] = {{1.0}, {1.0}};
    double* pulseChannels[] = {pulse[0], pulse[1]};
    second.processDoubleReplacing(pulseChannels, pulseChannels, 1);
    EXPECT_NEAR(pulse[0][0], 0.219786 * 0.31622776601683794, 1e-12); // -10 dB
    EXPECT_EQ(second.close(), 1);
}
