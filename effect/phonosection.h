// The phono filter: one direct-form second-order section per channel, in double precision.
// Regular mode realises N(z)/D(z), the playback (de-emphasis) curve; inverse mode realises
// D(z)/N(z), the matching recording pre-emphasis. Both polynomials have their roots inside the
// unit circle, so both modes are stable.
#pragma once

#include <cmath>

struct PhonoSection {
    double denominator[3]; // a0 (always 1), a1, a2
    double numerator[3];   // b0 (always 1), b1, b2
    // Per channel, left first: two samples back, one sample back, current.
    double outputHistory[2][3];
    double inputHistory[2][3];

    // One frame of each mode. The caller has stored the new input samples as the current inputs.
    void stepRegular() noexcept {
        step(0, numerator, denominator);
        step(1, numerator, denominator);
    }
    void stepInverse() noexcept {
        step(0, denominator, numerator);
        step(1, denominator, numerator);
    }

    double currentOutput(int channel) const noexcept { return outputHistory[channel][2]; }

    void clear() noexcept {
        for (int channel = 0; channel < 2; ++channel) {
            clearChannel(channel);
        }
    }

    // A non-finite sample leaves its channel's state non-finite for good; clear such a channel
    // so that the damage ends with the block.
    void clearNonFinite() noexcept {
        for (int channel = 0; channel < 2; ++channel) {
            bool finite = true;
            for (int k = 0; k < 3; ++k) {
                finite = finite && std::isfinite(inputHistory[channel][k]) &&
                         std::isfinite(outputHistory[channel][k]);
            }
            if (!finite) {
                clearChannel(channel);
            }
        }
    }

private:
    void clearChannel(int channel) noexcept {
        for (int k = 0; k < 3; ++k) {
            inputHistory[channel][k] = 0.0;
            outputHistory[channel][k] = 0.0;
        }
    }

    // Magnitudes below 2^-1021 (the subnormals and the lowest normal binade) become +0, so that
    // a decaying output ends in exact zeros instead of a slow subnormal tail. Zeros, NaN and
    // infinities pass unchanged.
    static double flushed(double y) noexcept {
        return (y != 0.0 && std::fabs(y) < 0x1p-1021) ? 0.0 : y;
    }

    // y = ((f0*x0 + f1*x1) + f2*x2) - g1*y1 - g2*y2, strictly left to right; the leading
    // feedback coefficient g0 is 1 and is not applied.
    void step(int channel, const double* feedForward, const double* feedBack) noexcept {
        double* x = inputHistory[channel];
        double* y = outputHistory[channel];
        const double out =
            ((feedForward[0] * x[2] + feedForward[1] * x[1]) + feedForward[2] * x[0]) -
            feedBack[1] * y[1] - feedBack[2] * y[0];
        x[0] = x[1];
        x[1] = x[2];
        y[0] = y[1];
        y[1] = y[2] = flushed(out);
    }
};
