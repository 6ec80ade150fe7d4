// SPDX-License-Identifier: GPL-3.0-or-later
#include "XDisplay.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Reads the display number that Xvfb writes to its -displayfd when ready.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    char ch = 0;
    while (read(fd, &ch, 1) == 1 && ch != '\n')
        number += ch;
    return number;
}

[[noreturn]] void ExecServer(int writeFd) {
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    std::string fd = std::to_string(writeFd);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
}

} // namespace

bool PrivateXServer::Start() {
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    m_pid = fork();
    if (m_pid == 0) {
        close(fds[0]);
        ExecServer(fds[1]);
    }
    close(fds[1]);
    std::string number = m_pid > 0 ? ReadDisplayNumber(fds[0]) : std::string();
    close(fds[0]);
    if (number.empty())
        return false;
    m_display = ":" + number;
    return true;
}

PrivateXServer::~PrivateXServer() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}

bool MapWatcher::Connect(const std::string& display) {
    m_connection.reset(xcb_connect(display.c_str(), nullptr));
    if (!m_connection || xcb_connection_has_error(m_connection.get()))
        return false;
    xcb_connection_t* connection = m_connection.get();
    m_root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, m_root, XCB_CW_EVENT_MASK, &mask);
    const char name[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (atom)
        m_pidAtom = atom->atom;
    std::free(atom);
    xcb_flush(connection);
    return true;
}

void MapWatcher::Drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection.get()))
        std::free(event);
}

// A window without the pid property is taken as the program's: the private
// server shows nothing else.
bool MapWatcher::BelongsTo(xcb_window_t window, pid_t pid) {
    xcb_connection_t* connection = m_connection.get();
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
        nullptr);
    bool belongs = true;
    if (reply && xcb_get_property_value_length(reply) == 4)
        belongs =
            *static_cast<uint32_t*>(xcb_get_property_value(reply)) == static_cast<uint32_t>(pid);
    std::free(reply);
    return belongs;
}

std::optional<std::chrono::steady_clock::time_point>
MapWatcher::WaitForMap(pid_t pid, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd watch{xcb_get_file_descriptor(m_connection.get()), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(m_connection.get());
        if (!event) {
            if (xcb_connection_has_error(m_connection.get()))
                return std::nullopt;
            poll(&watch, 1, 10);
            continue;
        }
        auto arrived = std::chrono::steady_clock::now();
        bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        xcb_map_notify_event_t map;
        std::memcpy(&map, event, sizeof map);
        std::free(event);
        if (mapped && map.event == m_root && !map.override_redirect && BelongsTo(map.window, pid))
            return arrived;
    }
    return std::nullopt;
}
