// The tick clock: milliseconds since the system started (GetTickCount), wrapping at 2^32.
#pragma once

#include <cstdint>

namespace mv {

class TickClock {
public:
    virtual ~TickClock() = default;
    virtual std::uint32_t tickCount() = 0;
};

}  // namespace mv
