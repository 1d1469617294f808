// The icon images compiled into the program (res/icons.qrc), by icon id.
#include <QStringList>

#include "platform/Icon.h"
#include "res/Resource.h"

// The images live in this static library: registering them here makes sure they are linked.
// (Outside any namespace, as the registration needs.)
static void RegisterIconImages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

QStringList IconImageFiles(int iconId) {
    RegisterIconImages();
    if (iconId != IDR_MAINFRAME) return {};
    return {QStringLiteral(":/icons/tarnvault-128.xpm"), QStringLiteral(":/icons/tarnvault-32.xpm")};
}
