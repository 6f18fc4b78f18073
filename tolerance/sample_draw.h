#pragma once
// The random numbers of one sample, and a value drawn from a distribution with them.
//
// The numbers of sample i depend only on the run's seed and on i: each sample has its own stream,
// SplitMix64 started from a hash of (seed, i), so the samples can be drawn in any order and on any
// number of threads with the same outcome. Values are drawn by Boost.Random's distributions, whose
// algorithms are fixed in Boost's own code (the standard library's are left to each
// implementation): uniform_real_distribution, triangle_distribution and normal_distribution
// (ziggurat). A cut normal draws again until the value lies within the cut.
#include <cstdint>
#include <limits>

#include "tolerance/distribution.h"

namespace vorlanex::tolerance {

// SplitMix64 (Steele, Lea and Flood), as a Boost.Random engine.
class SampleStream {
public:
    using result_type = std::uint64_t;

    SampleStream(std::uint64_t seed, std::uint64_t sample) : state_(mix(mix(seed) + mix(sample ^ kSampleKey))) {}
    // The stream of the page at `position` in a chain of linked pages (the first one 0): a stream
    // of its own for each page of the sample, the first page's the same as a page sampled alone.
    SampleStream(std::uint64_t seed, std::uint64_t sample, std::uint64_t position) : SampleStream(seed, sample) {
        if (position != 0) state_ = mix(state_ ^ mix(position * kPositionKey));
    }

    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return std::numeric_limits<result_type>::max(); }
    result_type operator()() {
        state_ += kGamma;
        return mix(state_);
    }

private:
    static constexpr std::uint64_t kGamma = 0x9e3779b97f4a7c15ULL;
    static constexpr std::uint64_t kSampleKey = 0x5851f42d4c957f2dULL;
    static constexpr std::uint64_t kPositionKey = 0xd1342543de82ef95ULL;
    static constexpr std::uint64_t mix(std::uint64_t z) {
        z += kGamma;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

// One value of `distribution` from the stream. A distribution of zero width gives its one value
// without drawing.
double draw(const Distribution& distribution, SampleStream& stream);

}  // namespace vorlanex::tolerance
