#pragma once

#include <algorithm>
#include <vector>

namespace vemro::bench {

// The least of the repeated measurements: on a shared machine other work only ever adds time,
// so the fastest repetition is the closest to what the code itself costs.
inline double minimumOf(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

}  // namespace vemro::bench
