// The coefficient sets of the phono filter, one per supported sample rate. a0 and b0 are 1 in
// every set. Each decimal is the shortest that reads back as exactly the stored double.
#pragma once

struct CoefficientSet {
    float rate;
    double a1, a2; // denominator: the 3180 us and 75 us poles of the playback curve
    double b1, b2; // numerator: the 318 us zero and one on the negative real axis
};

// The first set is also the one for every rate without a set of its own.
inline constexpr CoefficientSet kCoefficientSets[] = {
    {44100.0f, -1.700724, 0.7029381524, -0.7218922, -0.1860520545},
    {48000.0f, -1.7327655000000002, 0.7345534436225001, -0.7555521, -0.1646257112971},
    {88200.0f, -1.8554648, 0.8559721393, -0.8479577, -0.1127631993},
    {96000.0f, -1.866634, 0.8670602, -0.8535323, -0.1104603},
    {192000.0f, -1.931263, 0.9313725, -0.8796912, -0.1023703},
};

// Output scale of each mode, the same at every rate. Their product is 1.0592538 (+0.50 dB).
inline constexpr double kRegularScale = 0.219786;
inline constexpr double kInverseScale = 4.819478;
