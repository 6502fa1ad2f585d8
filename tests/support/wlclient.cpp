// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Native Wayland windows that the system tests open and a compositor closes,
// driven line by line on stdin; each answer is one line on stdout:
//   open KEY TITLE...  opens a toplevel              -> mapped KEY
//   title KEY TEXT...  retitles it                   -> titled KEY
//   refuse KEY         a close request is only told  -> asked KEY
//   many N PREFIX      N toplevels "PREFIX 1".., keys PREFIX1.. -> mapped-all N
// Otherwise a close request destroys the toplevel    -> closed KEY
// An answer comes once the compositor has handled what it answers, so the
// window is shown (or gone) when the test reads it. Titles go out as given,
// bytes that are not UTF-8 included, cut to what one Wayland message carries.
// Ends with 0 at the end of stdin, with 1 when the display goes away.
//   trelvanix-wlclient [--app-id ID]
#include "xdg-shell-client.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace
{
template <auto destroy> struct Destroyer {
    template <typename T> void operator()(T *object) const { destroy(object); }
};
template <typename T, auto destroy> using Proxy = std::unique_ptr<T, Destroyer<destroy>>;

// A Wayland message is at most 4096 bytes; the title shares it with a header.
constexpr std::size_t maxTitleBytes = 4000;
constexpr int maxWindowsAtOnce = 10000;
constexpr int side = 32;

void answer(const std::string &line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "trelvanix-wlclient: %s\n", what);
    std::exit(1);
}

struct Batch {
    std::string answer;
    int waiting = 0;
};

class Client;

struct Window {
    Client *client;
    std::string key;
    Proxy<wl_buffer, wl_buffer_destroy> buffer;
    Proxy<wl_surface, wl_surface_destroy> surface;
    Proxy<xdg_surface, xdg_surface_destroy> xdgSurface;
    Proxy<xdg_toplevel, xdg_toplevel_destroy> toplevel;
    Batch *batch = nullptr;
    bool shown = false;
    bool refuses = false;
};

class Client
{
public:
    friend struct Events;
    explicit Client(std::string appId);
    void run();

private:
    void bind(wl_registry *registry, uint32_t name, const char *interface, uint32_t version);
    void command(const std::string &line);
    void open(const std::string &key, const std::string &title, Batch *batch);
    void retitle(const std::string &key, const std::string &title);
    void configured(Window &window, uint32_t serial);
    void closeRequested(Window &window);
    void finishBatchStep(Window &window);
    void answerAfterRoundtrip(const std::string &line);
    void answerDue(wl_callback *callback);
    void openBatch(const std::string &answer,
                   const std::vector<std::pair<std::string, std::string>> &keysAndTitles);
    bool readInput();

    std::string appId;
    Proxy<wl_display, wl_display_disconnect> display;
    Proxy<wl_registry, wl_registry_destroy> registry;
    Proxy<wl_compositor, wl_compositor_destroy> compositor;
    Proxy<wl_shm, wl_shm_destroy> shm;
    Proxy<xdg_wm_base, xdg_wm_base_destroy> wmBase;
    Proxy<wl_shm_pool, wl_shm_pool_destroy> pool;
    std::map<std::string, std::unique_ptr<Window>> windows;
    std::list<Batch> batches;
    std::map<wl_callback *, std::pair<Proxy<wl_callback, wl_callback_destroy>, std::string>>
        pendingAnswers;
    std::string input;
};

const xdg_wm_base_listener wmBaseListener = {
    .ping = [](void *, xdg_wm_base *base, uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

struct Events {
    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t version)
    {
        static_cast<Client *>(data)->bind(registry, name, interface, version);
    }
    static void configure(void *data, xdg_surface *, uint32_t serial)
    {
        auto *window = static_cast<Window *>(data);
        window->client->configured(*window, serial);
    }
    static void close(void *data, xdg_toplevel *)
    {
        auto *window = static_cast<Window *>(data);
        window->client->closeRequested(*window);
    }
    static void answerDue(void *data, wl_callback *callback, uint32_t)
    {
        static_cast<Client *>(data)->answerDue(callback);
    }
};

const wl_registry_listener registryListener = {
    .global = Events::global,
    .global_remove = [](void *, wl_registry *, uint32_t) {},
};

const xdg_surface_listener surfaceListener = {.configure = Events::configure};
const xdg_toplevel_listener toplevelListener = {
    .configure = [](void *, xdg_toplevel *, int32_t, int32_t, wl_array *) {},
    .close = Events::close,
    .configure_bounds = nullptr,
    .wm_capabilities = nullptr,
};

const wl_callback_listener answerListener = {.done = Events::answerDue};

// One small pool of pixels, shared by every window's buffer.
Proxy<wl_shm_pool, wl_shm_pool_destroy> createPool(wl_shm *shm)
{
    const int size = side * side * 4;
    const int fd = memfd_create("trelvanix-wlclient", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0)
        fail("no shared memory for the windows' pixels");
    void *pixels = mmap(nullptr, size, PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels != MAP_FAILED) {
        std::memset(pixels, 0x80, size);
        munmap(pixels, size);
    }
    Proxy<wl_shm_pool, wl_shm_pool_destroy> pool(wl_shm_create_pool(shm, fd, size));
    close(fd);
    return pool;
}

Client::Client(std::string appId) : appId(std::move(appId)), display(wl_display_connect(nullptr))
{
    if (!display)
        fail("cannot connect to the Wayland display");
    registry.reset(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &registryListener, this);
    if (wl_display_roundtrip(display.get()) < 0)
        fail("the display went away");
    if (!compositor || !shm || !wmBase)
        fail("the compositor offers no wl_compositor, wl_shm or xdg_wm_base");
    pool = createPool(shm.get());
}

void Client::bind(wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    const std::string offered(interface);
    if (offered == wl_compositor_interface.name)
        compositor.reset(static_cast<wl_compositor *>(
            wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u))));
    else if (offered == wl_shm_interface.name)
        shm.reset(static_cast<wl_shm *>(wl_registry_bind(registry, name, &wl_shm_interface, 1)));
    else if (offered == xdg_wm_base_interface.name) {
        wmBase.reset(static_cast<xdg_wm_base *>(
            wl_registry_bind(registry, name, &xdg_wm_base_interface, 1)));
        xdg_wm_base_add_listener(wmBase.get(), &wmBaseListener, nullptr);
    }
}

std::string boundTitle(const std::string &title)
{
    return title.substr(0, maxTitleBytes);
}

void Client::open(const std::string &key, const std::string &title, Batch *batch)
{
    if (windows.count(key)) {
        std::fprintf(stderr, "trelvanix-wlclient: %s is open already\n", key.c_str());
        return;
    }
    auto window = std::make_unique<Window>();
    window->client = this;
    window->key = key;
    window->batch = batch;
    window->buffer.reset(
        wl_shm_pool_create_buffer(pool.get(), 0, side, side, side * 4, WL_SHM_FORMAT_ARGB8888));
    window->surface.reset(wl_compositor_create_surface(compositor.get()));
    window->xdgSurface.reset(xdg_wm_base_get_xdg_surface(wmBase.get(), window->surface.get()));
    xdg_surface_add_listener(window->xdgSurface.get(), &surfaceListener, window.get());
    window->toplevel.reset(xdg_surface_get_toplevel(window->xdgSurface.get()));
    xdg_toplevel_add_listener(window->toplevel.get(), &toplevelListener, window.get());
    xdg_toplevel_set_title(window->toplevel.get(), boundTitle(title).c_str());
    xdg_toplevel_set_app_id(window->toplevel.get(), appId.c_str());
    // The first commit has no buffer: it asks the compositor for a configure.
    wl_surface_commit(window->surface.get());
    ++batch->waiting;
    windows.emplace(key, std::move(window));
}

void Client::configured(Window &window, uint32_t serial)
{
    xdg_surface_ack_configure(window.xdgSurface.get(), serial);
    if (!window.shown)
        wl_surface_attach(window.surface.get(), window.buffer.get(), 0, 0);
    wl_surface_commit(window.surface.get());
    if (!window.shown) {
        window.shown = true;
        finishBatchStep(window);
    }
}

void Client::finishBatchStep(Window &window)
{
    Batch *batch = window.batch;
    window.batch = nullptr;
    if (batch && --batch->waiting == 0) {
        answerAfterRoundtrip(batch->answer);
        batches.remove_if([batch](const Batch &b) { return &b == batch; });
    }
}

void Client::closeRequested(Window &window)
{
    if (window.refuses) {
        answer("asked " + window.key);
        return;
    }
    const std::string key = window.key;
    finishBatchStep(window);
    windows.erase(key);
    answerAfterRoundtrip("closed " + key);
}

void Client::retitle(const std::string &key, const std::string &title)
{
    const auto found = windows.find(key);
    if (found == windows.end()) {
        std::fprintf(stderr, "trelvanix-wlclient: no window %s\n", key.c_str());
        return;
    }
    xdg_toplevel_set_title(found->second->toplevel.get(), boundTitle(title).c_str());
    answerAfterRoundtrip("titled " + key);
}

// The answer comes when the compositor has handled every request sent before it.
void Client::answerAfterRoundtrip(const std::string &line)
{
    wl_callback *callback = wl_display_sync(display.get());
    wl_callback_add_listener(callback, &answerListener, this);
    pendingAnswers.emplace(callback,
                           std::pair(Proxy<wl_callback, wl_callback_destroy>(callback), line));
}

void Client::answerDue(wl_callback *callback)
{
    const auto found = pendingAnswers.find(callback);
    answer(found->second.second);
    pendingAnswers.erase(found);
}

void Client::openBatch(const std::string &answer,
                       const std::vector<std::pair<std::string, std::string>> &keysAndTitles)
{
    Batch &batch = batches.emplace_back(Batch{answer});
    for (const auto &[key, title] : keysAndTitles)
        open(key, title, &batch);
    if (batch.waiting == 0)
        batches.pop_back();
}

// Splits "WORD REST": the rest keeps its bytes, spaces included.
std::pair<std::string, std::string> splitWord(const std::string &text)
{
    const auto space = text.find(' ');
    if (space == std::string::npos)
        return {text, {}};
    return {text.substr(0, space), text.substr(space + 1)};
}

void Client::command(const std::string &line)
{
    const auto [verb, rest] = splitWord(line);
    const auto [key, text] = splitWord(rest);
    if (verb == "open" && !key.empty()) {
        openBatch("mapped " + key, {{key, text}});
    } else if (verb == "title" && !key.empty()) {
        retitle(key, text);
    } else if (verb == "refuse" && windows.count(key)) {
        windows[key]->refuses = true;
        answer("refusing " + key);
    } else if (verb == "many") {
        const int count = std::atoi(key.c_str());
        if (count < 1 || count > maxWindowsAtOnce || text.empty())
            return (void)std::fprintf(stderr, "trelvanix-wlclient: many 1..10000 PREFIX\n");
        std::vector<std::pair<std::string, std::string>> keysAndTitles;
        for (int i = 1; i <= count; ++i)
            keysAndTitles.emplace_back(text + std::to_string(i), text + " " + std::to_string(i));
        openBatch("mapped-all " + key, keysAndTitles);
    } else {
        std::fprintf(stderr, "trelvanix-wlclient: cannot do \"%s\"\n", line.c_str());
    }
}

// Commands are whole lines; a line longer than any command needs is cut.
bool Client::readInput()
{
    char chunk[65536];
    const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
    if (got < 0)
        return errno == EINTR || errno == EAGAIN;
    if (got == 0) {
        if (!input.empty())
            command(input);
        return false;
    }
    input.append(chunk, static_cast<std::size_t>(got));
    std::size_t start = 0;
    for (std::size_t end; (end = input.find('\n', start)) != std::string::npos; start = end + 1)
        command(input.substr(start, end - start));
    input.erase(0, start);
    if (input.size() > sizeof chunk) {
        command(input);
        input.clear();
    }
    return true;
}

// Reads what the display sent once poll says it is there, and sends what
// waits to go; the commands on stdin are taken between.
void Client::run()
{
    wl_display *d = display.get();
    for (;;) {
        while (wl_display_prepare_read(d) != 0)
            if (wl_display_dispatch_pending(d) < 0)
                fail("the display went away");
        const int sent = wl_display_flush(d);
        const bool moreToSend = sent < 0 && errno == EAGAIN;
        pollfd fds[] = {{wl_display_get_fd(d), short(POLLIN | (moreToSend ? POLLOUT : 0)), 0},
                        {STDIN_FILENO, POLLIN, 0}};
        if ((sent < 0 && !moreToSend) || (poll(fds, 2, -1) < 0 && errno != EINTR)) {
            wl_display_cancel_read(d);
            fail("the display went away");
        }
        if (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) {
            if (wl_display_read_events(d) < 0)
                fail("the display went away");
        } else {
            wl_display_cancel_read(d);
        }
        if (wl_display_dispatch_pending(d) < 0)
            fail("the display went away");
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && !readInput())
            return;
    }
}
} // namespace

int main(int argc, char *argv[])
{
    std::string appId = "trelvanix-test";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--app-id") == 0 && i + 1 < argc) {
            appId = argv[++i];
        } else {
            std::fprintf(stderr, "usage: trelvanix-wlclient [--app-id ID]\n");
            return 2;
        }
    }
    Client client(appId);
    client.run();
    return 0;
}
