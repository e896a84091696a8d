// Loads the Zelk plug-in as a host does and prints its measured playback curve next to the
// ideal one. Usage: zelk-demo [path to the plug-in library]
#include "analysis.h"
#include "plugininstance.h"
#include "pluginlibrary.h"
#include "recordinghost.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double measure(host::PluginInstance& instance, int rate, int frequency) {
    instance.setSampleRate(static_cast<float>(rate));
    instance.resume();
    return host::measureSineGain(
        [&](double* left, double* right, int frames) {
            double* channels[] = {left, right};
            instance.processDoubleReplacing(channels, channels, frames);
        },
        rate, frequency);
}

// A level as printed: a rounding hair around zero shows as 0.00, not -0.00.
double shown(double db) {
    return std::fabs(db) < 0.005 ? 0.0 : db;
}

} // namespace

int main(int argc, char** argv) {
    const std::string path =
        argc > 1 ? argv[1] : host::programFolder() + host::pluginFileName("Zelk");
    host::PluginLibrary library(path);
    if (!library.isLoaded()) {
        std::fprintf(stderr, "zelk-demo: %s\n", library.error().c_str());
        return 1;
    }
    host::PluginEntry entry = library.findEntry();
    if (entry == nullptr) {
        std::fprintf(stderr, "zelk-demo: %s exports no plug-in entry\n", path.c_str());
        return 1;
    }
    host::RecordingHost recorder;
    AEffect* effect = recorder.create(entry);
    if (effect == nullptr) {
        std::fprintf(stderr, "zelk-demo: the plug-in created no effect\n");
        return 1;
    }
    host::PluginInstance instance(effect);

    std::printf("%s, mode \"%s\", gain %s %s\n", instance.text(effGetProductString).c_str(),
                instance.text(effGetParamDisplay, 1).c_str(),
                instance.text(effGetParamDisplay, 0).c_str(),
                instance.text(effGetParamLabel, 0).c_str());
    std::printf("Level of a sine, in dB (the ideal curve is normalised to 0 dB at 1 kHz)\n\n");
    const std::vector<int> rates = {44100, 48000, 96000};
    std::printf("%9s %9s", "frequency", "ideal");
    for (int rate : rates) {
        std::printf(" %8d Hz", rate);
    }
    std::printf("\n");
    for (int frequency : {20, 50, 100, 500, 1000, 2000, 5000, 10000, 20000}) {
        std::printf("%6d Hz %+9.2f", frequency, shown(host::idealPlaybackDb(frequency)));
        for (int rate : rates) {
            std::printf(" %+11.2f", shown(host::toDb(measure(instance, rate, frequency))));
        }
        std::printf("\n");
    }
    return 0;
}
