#include "platform/WindowActivation.h"

#include "platform/Errors.h"
#include "platform/Forms.h"
#include "platform/ScreenReader.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {

namespace {

template <class Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> ReplyPtr<Reply> Owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const auto reply = Owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window,
                                      xcb_atom_t property, xcb_atom_t type) {
    // Titles and client lists are far below 256 KiB.
    return xcb_get_property(connection, 0, window, property, type, 0, 65536);
}

// The windows the manager manages; empty without a manager.
std::vector<xcb_window_t> ClientList(const X11Display& display) {
    const xcb_atom_t clientList = Atom(display.connection, "_NET_CLIENT_LIST");
    const auto reply = Owned(xcb_get_property_reply(
        display.connection,
        AskProperty(display.connection, display.root, clientList, XCB_ATOM_WINDOW), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<xcb_window_t>(windows, windows + count);
}

// A title property as text, or a null string when the window has none.
QString TitleFrom(xcb_connection_t* connection, xcb_get_property_cookie_t cookie, bool utf8) {
    const auto reply = Owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE)
        return QString();
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    return utf8 ? QString::fromUtf8(bytes, length) : QString::fromLatin1(bytes, length);
}

// The window manager's "above" state, asked for without Qt's stays-on-top flag: changing
// that flag makes Qt replace the window at its next show, which leaves its native child
// windows (the picture boxes) behind, dead.
void AddAboveToState(const X11Display& display, xcb_window_t window) {
    xcb_connection_t* connection = display.connection;
    const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t above = Atom(connection, "_NET_WM_STATE_ABOVE");
    // Before the window is mapped the manager reads the property; Qt keeps what it finds.
    const auto reply = Owned(xcb_get_property_reply(
        connection, AskProperty(connection, window, state, XCB_ATOM_ATOM), nullptr));
    bool present = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / 4;
        present = std::find(atoms, atoms + count, above) != atoms + count;
    }
    if (!present)
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, state, XCB_ATOM_ATOM, 32, 1,
                            &above);
}

// A mapped window changes state only through a request to the manager.
void RequestAbove(const X11Display& display, xcb_window_t window) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = Atom(display.connection, "_NET_WM_STATE");
    request.data.data32[0] = 1; // add
    request.data.data32[1] = Atom(display.connection, "_NET_WM_STATE_ABOVE");
    request.data.data32[3] = 1; // from an application
    xcb_send_event(display.connection, 0, display.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
}

// The manager forgets a window's state when it is hidden; this puts "above" back at
// every show: into the property before the map (a widget gets its show event first), and
// once more as a request right after it, for a manager still busy forgetting the last one.
class StaysAbove : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        AddAboveToState(X11Display::Current(), static_cast<xcb_window_t>(widget->winId()));
        QTimer::singleShot(0, widget, [widget] {
            if (!widget->isVisible())
                return;
            const X11Display& display = X11Display::Current();
            RequestAbove(display, static_cast<xcb_window_t>(widget->winId()));
            xcb_flush(display.connection);
        });
        return false;
    }
};

constexpr const char* kStaysAbove = "tw_staysAbove";

} // namespace

void SetWindowTopmost(WindowHandle hwnd) {
    QWidget* widget = QWidget::find(static_cast<WId>(hwnd));
    if (!widget || !widget->isWindow())
        Raise(ErrInvalidProcedureCall, "No such window");
    if (!widget->property(kStaysAbove).toBool()) {
        widget->installEventFilter(new StaysAbove(widget));
        widget->setProperty(kStaysAbove, true);
    }
    const X11Display& display = X11Display::Current();
    const auto window = static_cast<xcb_window_t>(widget->winId());
    AddAboveToState(display, window);
    if (widget->isVisible())
        RequestAbove(display, window);
    xcb_flush(display.connection);
}

std::vector<WindowHandle> FindWindowsByTitle(const std::string& title) {
    const X11Display& display = X11Display::Current();
    xcb_connection_t* connection = display.connection;
    const std::vector<xcb_window_t> clients = ClientList(display);
    const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8String = Atom(connection, "UTF8_STRING");

    // Ask for every title first, then collect: one round trip for the lot.
    struct Pending {
        xcb_window_t window;
        xcb_get_property_cookie_t netName, name;
    };
    std::vector<Pending> pending;
    pending.reserve(clients.size());
    for (xcb_window_t window : clients)
        pending.push_back({window, AskProperty(connection, window, netWmName, utf8String),
                           AskProperty(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY)});

    const QString wanted = ToQ(title);
    std::vector<WindowHandle> found;
    for (const Pending& p : pending) {
        QString name = TitleFrom(connection, p.netName, true);
        const QString legacy = TitleFrom(connection, p.name, false);
        if (name.isNull())
            name = legacy;
        if (name == wanted)
            found.push_back(p.window);
    }
    return found;
}

void AppActivate(const std::string& title) {
    const std::vector<WindowHandle> windows = FindWindowsByTitle(title);
    if (windows.empty())
        Raise(ErrInvalidProcedureCall, "No window titled \"" + title + "\"");
    const X11Display& display = X11Display::Current();

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(windows.front());
    request.type = Atom(display.connection, "_NET_ACTIVE_WINDOW");
    // Source 2: the user asked for it (closing the monitor), so the manager's focus
    // stealing rules do not hold it back.
    request.data.data32[0] = 2;
    request.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(display.connection, 0, display.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    // The program may end right after this; the request must reach the server first.
    xcb_flush(display.connection);
}

} // namespace platform
