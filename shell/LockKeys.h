// The state of the lock keys, where the windowing system tells it.
#pragma once

namespace bankwise {

struct CLockKeys
{
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// All off where the platform does not report them.
CLockKeys QueryLockKeys();

}  // namespace bankwise
