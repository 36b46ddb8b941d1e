// The busy indicator shown while a dump is detected, parsed or written. The
// desktop program installs a hook that switches the wait cursor; the
// converter leaves it empty. Guards nest: the hook hears "busy" when the
// outermost guard starts and "idle" when it ends, on every path out.
#pragma once

#include <functional>

namespace bankwise {

void SetBusyHook(std::function<void(bool busy)> hook);

class CBusyGuard
{
public:
    CBusyGuard();
    ~CBusyGuard();
    CBusyGuard(const CBusyGuard&) = delete;
    CBusyGuard& operator=(const CBusyGuard&) = delete;
};

}  // namespace bankwise
