// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AfxTypes.h"

#include <span>
#include <variant>

class CCmdTarget;

// A message table: which handler of a class answers which message. A class
// lists its entries in a static array and returns it from GetMessageMap();
// a message without an entry gets the default processing of the framework.

using PlainHandler = void (CCmdTarget::*)();
using SysCommandHandler = void (CCmdTarget::*)(unsigned id, long param);
using IconHandler = HICON (CCmdTarget::*)();

struct MessageEntry {
    unsigned message;
    unsigned notifyCode; // WM_COMMAND only: the notification, such as BN_CLICKED
    int controlId;       // WM_COMMAND only: the control or command identifier
    std::variant<PlainHandler, SysCommandHandler, IconHandler> handler;
};

// Entries for a class D derived from CCmdTarget. The handler's signature
// decides how the message's parameters reach it.
template <class D> MessageEntry OnMessage(unsigned message, void (D::*handler)()) {
    return {message, 0, 0, static_cast<PlainHandler>(handler)};
}

template <class D> MessageEntry OnMessage(unsigned message, void (D::*handler)(unsigned, long)) {
    return {message, 0, 0, static_cast<SysCommandHandler>(handler)};
}

template <class D> MessageEntry OnMessage(unsigned message, HICON (D::*handler)()) {
    return {message, 0, 0, static_cast<IconHandler>(handler)};
}

// A notification of a control: WM_COMMAND with that code from that control.
template <class D> MessageEntry OnControlNotify(unsigned notifyCode, int id, void (D::*handler)()) {
    return {WM_COMMAND, notifyCode, id, static_cast<PlainHandler>(handler)};
}

// A command from a menu, a key or a push button (whose BN_CLICKED is code 0).
template <class D> MessageEntry OnCommand(int id, void (D::*handler)()) {
    return {WM_COMMAND, BN_CLICKED, id, static_cast<PlainHandler>(handler)};
}

// Base of every class that has a message table.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // The class's own table; the base has none.
    virtual std::span<const MessageEntry> GetMessageMap() const { return {}; }

    // Runs the handler of a command if the table has one; answers whether it did.
    bool OnCmdMsg(int id, unsigned notifyCode);

protected:
    const MessageEntry* FindEntry(unsigned message) const;
};
