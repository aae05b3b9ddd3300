#pragma once

#include <cstddef>
#include <vector>

// The durations of one measured step (an update, a draw, a whole frame) over
// a run, in microseconds, and the figures the benchmark reports from them.
// Room for every sample is reserved up front so recording a sample never
// allocates inside the measured frame loop.
class FrameTimes {
public:
    explicit FrameTimes(size_t expectedSamples = 0) { m_samples.reserve(expectedSamples); }

    void add(double microseconds) { m_samples.push_back(microseconds); }
    size_t count() const { return m_samples.size(); }
    // The middle sample (the mean of the two middle ones for an even count); 0 when empty.
    double median() const;
    // The smallest sample that at least `percent` % of the samples do not
    // exceed (nearest rank); 0 when empty.
    double percentile(double percent) const;

private:
    std::vector<double> m_samples;
};
