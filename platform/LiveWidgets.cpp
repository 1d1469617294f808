// The set of live dialog widgets: each leaves it when Qt destroys it.
#include "platform/LiveWidgets.h"

#include <unordered_set>

#include <QWidget>

namespace {
std::unordered_set<const QWidget*>& Live() {
    static std::unordered_set<const QWidget*> live;
    return live;
}
}  // namespace

void TrackLiveWidget(QWidget* widget) {
    if (widget == nullptr || !Live().insert(widget).second) return;
    QObject::connect(widget, &QObject::destroyed, [widget] { Live().erase(widget); });
}

bool IsLiveWidget(const QWidget* widget) { return Live().count(widget) != 0; }
