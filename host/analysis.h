// Measuring what an effect does to a sine, and the curve it should follow.
#pragma once

#include <cmath>
#include <functional>

namespace host {

// Level of the ideal playback curve (3180 us, 318 us, 75 us) at `frequency` in Hz, in dB,
// normalised to 0 dB at 1 kHz: |1 + jwT2| / (|1 + jwT1| |1 + jwT3|).
double idealPlaybackDb(double frequency);

// Processes a block of stereo frames in place.
using StereoProcessor = std::function<void(double* left, double* right, int frames)>;

// The steady-state gain (linear) of `process` for a sine at `frequency`: a sine of amplitude
// 0.25 on both channels runs through it in blocks of `blockSize` frames for half a second to
// settle, then for one more second, over which the left output is projected onto the sine.
// The rate and the frequency are whole numbers of hertz, so the second holds whole periods.
double measureSineGain(const StereoProcessor& process, int sampleRate, int frequency,
                       int blockSize = 512);

inline double toDb(double gain) {
    return 20.0 * std::log10(gain);
}

} // namespace host
