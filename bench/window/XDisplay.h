// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A private X server for the start-up benchmark and a connection to it that
// reports when a program's top-level window is mapped.

#include <xcb/xcb.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

// An Xvfb on a display it picks itself; stopped when the object goes.
class PrivateXServer {
public:
    PrivateXServer() = default;
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // Starts the server and waits until it names its display; false on failure.
    bool Start();
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

// Watches the root window for top-level windows being mapped.
class MapWatcher {
public:
    // Connects to display and asks for the root's substructure events.
    bool Connect(const std::string& display);

    // Discards events that arrived before a program was started.
    void Drain();

    // The moment a top-level window of process pid is mapped, or nothing when
    // none is mapped before the timeout.
    std::optional<std::chrono::steady_clock::time_point>
    WaitForMap(pid_t pid, std::chrono::milliseconds timeout);

private:
    bool BelongsTo(xcb_window_t window, pid_t pid);

    struct Disconnect {
        void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
    };
    std::unique_ptr<xcb_connection_t, Disconnect> m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};
