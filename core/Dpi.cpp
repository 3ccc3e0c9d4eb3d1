#include "core/Dpi.h"

#include <cstdlib>

int ScaleForDpi(int value, int dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = kDefaultDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDefaultDpi
                                         : -((-product + half) / kDefaultDpi));
}

int NearestSize(const int* sizes, int count, int wanted) {
    int best = count > 0 ? sizes[0] : wanted;
    for (int i = 1; i < count; ++i) {
        const int distance = std::abs(sizes[i] - wanted);
        const int bestDistance = std::abs(best - wanted);
        if (distance < bestDistance || (distance == bestDistance && sizes[i] > best))
            best = sizes[i];
    }
    return best;
}
