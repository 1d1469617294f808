#pragma once
// The widgets that dialogs have built and that still exist, so that a handle can be tested.
class QWidget;

void TrackLiveWidget(QWidget* widget);
bool IsLiveWidget(const QWidget* widget);
