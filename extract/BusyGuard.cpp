#include "BusyGuard.h"

#include <utility>

namespace bankwise {
namespace {

std::function<void(bool)>& Hook()
{
    static std::function<void(bool)> hook;
    return hook;
}

int g_depth = 0;

}  // namespace

void SetBusyHook(std::function<void(bool busy)> hook)
{
    Hook() = std::move(hook);
}

CBusyGuard::CBusyGuard()
{
    if (g_depth++ == 0 && Hook())
        Hook()(true);
}

CBusyGuard::~CBusyGuard()
{
    if (--g_depth == 0 && Hook())
        Hook()(false);
}

}  // namespace bankwise
