// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageMap.h"

bool CCmdTarget::OnCmdMsg(int id, unsigned notifyCode) {
    for (const MessageEntry& entry : GetMessageMap()) {
        if (entry.message != WM_COMMAND || entry.controlId != id || entry.notifyCode != notifyCode)
            continue;
        if (const PlainHandler* handler = std::get_if<PlainHandler>(&entry.handler)) {
            (this->**handler)();
            return true;
        }
    }
    return false;
}

const MessageEntry* CCmdTarget::FindEntry(unsigned message) const {
    for (const MessageEntry& entry : GetMessageMap())
        if (entry.message == message)
            return &entry;
    return nullptr;
}
