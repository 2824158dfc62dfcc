#include "engine/math_random.h"

#include <cstdlib>
#include <ctime>

QMRandom::QMRandom(QOXObject* parent, const std::string& name) : QOXObject(parent, name)
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}
