// A plain, sample-by-sample evaluation of the phono equalizer, written from its description and
// kept apart from the effect's code: its own copy of the coefficient table, its own state and
// its own flush test. Tests compare the effect with it bit for bit.
#pragma once

namespace reference {

class PhonoEqualizer {
public:
    float gain = 0.5f;
    float mode = 0.0f;          // below 0.5 regular, else inverse
    float sampleRate = 44100.f; // the host's rate, as the effect reads it at each block

    // One block in each precision; the outputs may be the inputs.
    void processFloat(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int frames);
    void processDouble(const double* inLeft, const double* inRight, double* outLeft,
                       double* outRight, int frames);
    void clearState();

private:
    struct Channel {
        double x1 = 0, x2 = 0; // inputs one and two samples back
        double y1 = 0, y2 = 0; // outputs one and two samples back
    };
    template <typename Sample>
    void run(const Sample* inLeft, const Sample* inRight, Sample* outLeft, Sample* outRight,
             int frames, Sample g);
    void followRate();

    float selectedFor = 44100.f;
    double a1 = -1.700724, a2 = 0.7029381524, b1 = -0.7218922, b2 = -0.1860520545;
    Channel channels[2];
};

} // namespace reference
