#include "common/geometry.h"

#include <algorithm>
#include <climits>

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }
