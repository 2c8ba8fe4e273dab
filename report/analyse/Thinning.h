// A sample that outgrows its bound keeps every other element, so what stays
// is still spread evenly along the stroke: the drawn copy of a stroke, its
// times and its contact sizes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace report {

// Keeps the elements at even positions and, when asked, the last one.
template <class T> void Halve(std::vector<T>& v, bool keepLast) {
    std::size_t n = v.size();
    if (n < 2)
        return;
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; i += 2)
        v[k++] = v[i];
    if (keepLast && (n - 1) % 2 != 0)
        v[k++] = v[n - 1];
    v.resize(k);
}

// The same for the largest interval up to each point: a kept element takes
// the one dropped before it.
inline void HalveMax(std::vector<std::uint32_t>& v, bool keepLast) {
    for (std::size_t i = 2; i < v.size(); i += 2)
        v[i] = std::max(v[i], v[i - 1]);
    Halve(v, keepLast);
}

} // namespace report
