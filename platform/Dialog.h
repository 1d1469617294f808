#pragma once
// CDialog: a dialog built from its template (platform/DialogTemplate.h) as real Qt widgets.
// Dialog units become pixels from the dialog font: x × average character width / 4 and
// y × character height / 8, the average width over the 52 letters A–Z and a–z. Edits are
// QLineEdit (QPlainTextEdit when multi-line), statics QLabel, push buttons QPushButton; Enter
// presses the default push button unless the focus is on another push button; after
// OnInitDialog the focus is on the first tab stop (when OnInitDialog returns TRUE).
//
// Qt's signals and events reach the handlers as messages through the message map:
//   an edit's textChanged (typed or set)    WM_COMMAND EN_CHANGE, id
//   a push button's clicked                 WM_COMMAND BN_CLICKED, id
//   a timer of SetTimer                     WM_TIMER, id
//   a resize after the dialog was shown     WM_SIZING, WMSZ_BOTTOMRIGHT, the new frame RECT*
//   a system-menu entry                     WM_SYSCOMMAND, id
//   a paint event                           WM_PAINT
// Escape and the close box send WM_SYSCOMMAND SC_CLOSE, whose default handling is OnCancel.
#include <map>
#include <memory>
#include <vector>

#include "platform/MessageMap.h"
#include "platform/Wnd.h"

class CMenu;
class QDialog;
struct DialogTemplate;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the window, runs OnInitDialog and the modal loop; IDOK, IDCANCEL or the value
    // given to EndDialog; -1 when the template cannot be found.
    virtual INT_PTR DoModal();
    // Builds the window and runs OnInitDialog without a modal loop, and shows it (for tests
    // and modeless use); FALSE when the template cannot be found.
    BOOL Create();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();      // default handling of BN_CLICKED from IDOK
    virtual void OnCancel();  // default handling of BN_CLICKED from IDCANCEL and of SC_CLOSE

    virtual const MessageMap* GetMessageMap() const;
    static const MessageMap* GetThisMessageMap();

    // Routes one message through the map, as a Qt signal or event does.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The default handling of the message being routed now.
    LRESULT Default();

    // A timer of this dialog, by id: WM_TIMER every elapse milliseconds until KillTimer. A
    // second SetTimer with the same id restarts it. The callback must be null.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* callback);
    BOOL KillTimer(UINT_PTR id);

    // The dialog's own system menu (Alt+Space, or a right click on the background): the
    // entries the program appended, then "Close". Null after GetSystemMenu(TRUE).
    CMenu* GetSystemMenu(BOOL revert);

    // The Qt dialog behind this window (null before DoModal or Create).
    QDialog* GetDialogWidget() const;

protected:
    // Base painting, as the framework's OnPaint would do it.
    void OnPaint();

private:
    class Window;
    // Builds the window and its controls from the template; false when there is none.
    bool Build();
    void Teardown();
    LRESULT DefaultFor(const Message& message);
    UINT m_templateId;
    CWnd* m_parent;
    std::unique_ptr<Window> m_window;
    std::vector<std::unique_ptr<CWnd>> m_controls;  // template order
    std::map<int, CWnd*> m_controlsById;             // null for an id several controls share
    std::unique_ptr<CMenu> m_systemMenu;
    DWORD m_style = 0;
    const Message* m_current = nullptr;  // the message being routed now
    bool m_ended = false;
    bool m_tearingDown = false;
    int m_endResult = 0;
    friend class CWnd;
    friend class CPaintDC;
};

// The same dialog base with the framework's extended look; nothing more is needed here.
class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};
