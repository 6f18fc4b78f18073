#include "tolerance/sample_draw.h"

#include <boost/random/normal_distribution.hpp>
#include <boost/random/triangle_distribution.hpp>
#include <boost/random/uniform_real_distribution.hpp>

namespace vorlanex::tolerance {

double draw(const Distribution& d, SampleStream& stream) {
    switch (d.shape) {
        case Shape::Uniform:
            if (!(d.low < d.high)) return d.low;
            return boost::random::uniform_real_distribution<double>(d.low, d.high)(stream);
        case Shape::Triangular:
            if (!(d.low < d.high)) return d.low;
            return boost::random::triangle_distribution<double>(d.low, d.mode, d.high)(stream);
        case Shape::Normal: {
            boost::random::normal_distribution<double> normal(d.mean, d.sd);
            for (;;) {
                const double value = normal(stream);
                if (d.low <= value && value <= d.high) return value;
            }
        }
    }
    return d.low;
}

}  // namespace vorlanex::tolerance
