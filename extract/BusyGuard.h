// The busy indicator shown while a dump is detected, parsed or written. The
// desktop programs pass a hook that switches the wait cursor; the converter
// passes none. A guard tells its hook "busy" when it starts and "idle" when
// it ends, on every path out; the hook is the caller's, never a global.
#pragma once

#include <functional>

namespace bankwise {

using BusyHook = std::function<void(bool busy)>;

class CBusyGuard
{
public:
    // hook may be empty; it must outlive the guard.
    explicit CBusyGuard(const BusyHook& hook) : m_hook(hook)
    {
        if (m_hook)
            m_hook(true);
    }
    ~CBusyGuard()
    {
        if (m_hook)
            m_hook(false);
    }
    CBusyGuard(const CBusyGuard&) = delete;
    CBusyGuard& operator=(const CBusyGuard&) = delete;

private:
    const BusyHook& m_hook;
};

}  // namespace bankwise
