// How a time grows with the number of rows: the factor between two sizes and the exponent k
// in t ~ N^k, 1 being linear and 2 quadratic.
#pragma once

#include <cmath>

namespace bench {

inline double GrowthExponent(double nSmall, double tSmall, double nLarge, double tLarge) {
    if (tSmall <= 0 || tLarge <= 0)
        return 0;
    return std::log(tLarge / tSmall) / std::log(nLarge / nSmall);
}

}  // namespace bench
