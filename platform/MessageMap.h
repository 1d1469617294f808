#pragma once
// Message maps: a table per dialog class, in the order its design gives, binding a message
// (and for a notification, a control id) to a member handler. The dialog routes each Qt signal
// and event it turns into a message through its class's map, then the base classes' maps; the
// first matching entry's handler runs, and a message that no map names gets the default
// handling (CDialog::Default).
//
//   const MessageMap* CMyDlg::GetMessageMap() const {
//       static const MessageMap map(CDialogEx::GetThisMessageMap(), {
//           OnMessage(WM_PAINT, &CMyDlg::OnPaint),
//           OnNotify(EN_CHANGE, IDC_NAME, &CMyDlg::OnNameChanged),
//       });
//       return &map;
//   }
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/WinDefs.h"

class CDialog;

struct Message {
    UINT message;
    WPARAM wParam;  // WM_COMMAND: control id in the low 16 bits, notification code in the high
    LPARAM lParam;
};

class MessageMap {
public:
    struct Entry {
        UINT message;
        UINT code;  // notification code (WM_COMMAND entries only)
        int id;     // control id (WM_COMMAND entries only)
        std::function<LRESULT(CDialog&, const Message&)> call;
    };
    MessageMap(const MessageMap* base, std::initializer_list<Entry> entries)
        : m_base(base), m_entries(entries) {}

    // The first entry of this map or its bases that takes message, or null.
    const Entry* Find(const Message& message) const;

private:
    const MessageMap* m_base;
    std::vector<Entry> m_entries;
};

// Handler shapes, by message:
//   WM_SYSCOMMAND     void (T::*)(UINT id, LPARAM)
//   WM_PAINT          void (T::*)()
//   WM_QUERYDRAGICON  HCURSOR (T::*)()        (see platform/Icon.h)
//   WM_TIMER          void (T::*)(UINT_PTR id)
//   WM_SIZING         void (T::*)(UINT edge, RECT* proposed)
//   notifications     void (T::*)()
template <class T>
MessageMap::Entry OnMessage(UINT message, void (T::*handler)()) {
    return {message, 0, 0, [handler](CDialog& d, const Message&) -> LRESULT {
                (static_cast<T&>(d).*handler)();
                return 0;
            }};
}
template <class T>
MessageMap::Entry OnMessage(UINT message, void (T::*handler)(UINT, LPARAM)) {
    return {message, 0, 0, [handler](CDialog& d, const Message& m) -> LRESULT {
                (static_cast<T&>(d).*handler)(static_cast<UINT>(m.wParam), m.lParam);
                return 0;
            }};
}
template <class T>
MessageMap::Entry OnMessage(UINT message, void (T::*handler)(UINT_PTR)) {
    return {message, 0, 0, [handler](CDialog& d, const Message& m) -> LRESULT {
                (static_cast<T&>(d).*handler)(m.wParam);
                return 0;
            }};
}
template <class T>
MessageMap::Entry OnMessage(UINT message, void (T::*handler)(UINT, RECT*)) {
    return {message, 0, 0, [handler](CDialog& d, const Message& m) -> LRESULT {
                (static_cast<T&>(d).*handler)(static_cast<UINT>(m.wParam),
                                               reinterpret_cast<RECT*>(m.lParam));
                return 0;
            }};
}
template <class T, class R>
MessageMap::Entry OnMessage(UINT message, R* (T::*handler)()) {
    return {message, 0, 0, [handler](CDialog& d, const Message&) -> LRESULT {
                return reinterpret_cast<LRESULT>((static_cast<T&>(d).*handler)());
            }};
}
// A control's notification (EN_CHANGE, BN_CLICKED) from the control with this id.
template <class T>
MessageMap::Entry OnNotify(UINT code, int id, void (T::*handler)()) {
    return {WM_COMMAND, code, id, [handler](CDialog& d, const Message&) -> LRESULT {
                (static_cast<T&>(d).*handler)();
                return 0;
            }};
}
