// Helpers for a private X display, used by `make run` and the system tests:
//   trelvanix-xtool wait-desktop SECONDS   until a window manager runs and a tray host is there
//   trelvanix-xtool screenshot WINDOW FILE  saves a window's picture as PNG
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t windowProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<xcb_window_t *>(xcb_get_property_value(reply.get()));
}

bool windowManagerRuns(xcb_connection_t *c, xcb_window_t root)
{
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t child = windowProperty(c, root, check);
    return child != XCB_WINDOW_NONE && windowProperty(c, child, check) == child;
}

bool trayHostRuns(xcb_connection_t *c)
{
    Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, "_NET_SYSTEM_TRAY_S0")),
                                      nullptr),
        &std::free);
    return reply && reply->owner != XCB_WINDOW_NONE;
}

int waitDesktop(double seconds)
{
    using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const Connection c(xcb_connect(nullptr, nullptr), &xcb_disconnect);
        if (!xcb_connection_has_error(c.get())) {
            const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data->root;
            if (windowManagerRuns(c.get(), root) && trayHostRuns(c.get()))
                return 0;
        }
        QThread::msleep(100);
    }
    return 1;
}

int screenshot(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const WId window = std::strtoul(argv[2], nullptr, 0);
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    return !picture.isNull() && picture.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "wait-desktop") == 0)
        return waitDesktop(std::atof(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "screenshot") == 0)
        return screenshot(argc, argv);
    return 2;
}
