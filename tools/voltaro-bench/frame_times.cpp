#include "frame_times.h"

#include <algorithm>
#include <cmath>

double FrameTimes::median() const {
    if (m_samples.empty()) return 0.0;
    std::vector<double> sorted = m_samples;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    if (sorted.size() % 2 == 1) return sorted[middle];
    return (sorted[middle - 1] + sorted[middle]) / 2.0;
}

double FrameTimes::percentile(double percent) const {
    if (m_samples.empty()) return 0.0;
    std::vector<double> sorted = m_samples;
    std::sort(sorted.begin(), sorted.end());
    const double rank = std::ceil(percent / 100.0 * static_cast<double>(sorted.size()));
    const size_t index = rank < 1.0 ? 0 : std::min(sorted.size(), static_cast<size_t>(rank)) - 1;
    return sorted[index];
}
