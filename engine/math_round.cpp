#include "engine/math_round.h"

#include <cmath>

int QMRound::RoundAway(float x)
{
    if (x == 0.0f)
        return 0;
    return static_cast<int>(std::nearbyint(x > 0.0f ? x + 0.5f : x - 0.5f));
}
