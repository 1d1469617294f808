#pragma once
// The Qt dialog behind a CDialog: turns its events into messages for the dialog's map, and
// holds the dialog's timers.
#include <map>
#include <memory>

#include <QDialog>

#include "platform/Dialog.h"

class QPaintEvent;
class QTimer;

class CDialog::Window : public QDialog {
public:
    explicit Window(CDialog& owner);
    ~Window() override;

    CDialog& Owner() const { return m_owner; }

    void StartTimer(UINT_PTR id, UINT elapse);
    bool StopTimer(UINT_PTR id);

    // The system menu at a screen position; a chosen entry becomes WM_SYSCOMMAND.
    void ShowSystemMenu(const QPoint& at);

    // The paint event being handled now, or null outside WM_PAINT.
    QPaintEvent* CurrentPaint() const { return m_paint; }
    void BasePaint();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CDialog& m_owner;
    std::map<UINT_PTR, QTimer*> m_timers;  // children of this window
    QPaintEvent* m_paint = nullptr;
    bool m_shown = false;
};
