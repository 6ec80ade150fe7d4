// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <memory>

// Standard output as the window writes it: a stream whose writes never wait. What is written
// goes into a bounded queue that a thread of its own writes to the descriptor standard output
// had when the queue was made; what does not fit in the queue is dropped, so a terminal whose
// output is paused, or a pipe nobody reads, costs memory up to the bound and never a wait.
// Nobody reads the window's standard output, and nothing that goes there is waited for.
class COutputQueue {
public:
    COutputQueue();
    // Closes the stream. The thread ends once it has written what is queued; it is not waited
    // for, since its write may never return.
    ~COutputQueue();
    COutputQueue(const COutputQueue&) = delete;
    COutputQueue& operator=(const COutputQueue&) = delete;

    FILE* Stream() const { return m_stream; }

private:
    struct Queue;
    std::shared_ptr<Queue> m_queue;
    FILE* m_stream = nullptr;
};
