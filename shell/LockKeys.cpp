#include "LockKeys.h"

#include <QGuiApplication>

#ifdef BANKWISE_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace bankwise {

#ifdef BANKWISE_HAVE_X11
namespace {

bool IndicatorOn(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on != False;
}

}  // namespace
#endif

CLockKeys QueryLockKeys()
{
    CLockKeys keys;
#ifdef BANKWISE_HAVE_X11
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (Display* display = x11->display()) {
            keys.caps = IndicatorOn(display, "Caps Lock");
            keys.num = IndicatorOn(display, "Num Lock");
            keys.scroll = IndicatorOn(display, "Scroll Lock");
        }
    }
#endif
    return keys;
}

}  // namespace bankwise
