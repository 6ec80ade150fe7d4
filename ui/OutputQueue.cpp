// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputQueue.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

// What the queue holds at most; the engine's longest text, its help, is some 1.2 KiB.
constexpr std::size_t kQueueBytes = 64 * 1024;

// Writes all of the text to fd; false when the descriptor fails.
bool WriteAll(int fd, const char* text, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, text, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A pipe whose reader has gone fails the thread's write, and sends no signal to the program.
void BlockPipeSignal() {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
}

} // namespace

// Two buffers of the bound, made with the queue, so that neither side allocates: the stream
// fills one while the thread writes the other out.
struct COutputQueue::Queue {
    std::mutex lock;
    std::condition_variable filled;
    std::unique_ptr<char[]> pending = std::make_unique<char[]>(kQueueBytes);
    std::size_t pendingSize = 0;
    std::unique_ptr<char[]> writing = std::make_unique<char[]>(kQueueBytes);
    bool closed = false;
    int fd = -1;

    // The stream's write: queues what fits and drops the rest; it never fails the stream.
    static ssize_t Put(void* cookie, const char* data, std::size_t size);
    // Waits for text and moves it into writing; 0 once the stream is closed and all is taken.
    std::size_t Take();
    // The thread: writes what is queued until the stream is closed and the queue is empty;
    // after the descriptor fails, drops it.
    void Drain();
};

ssize_t COutputQueue::Queue::Put(void* cookie, const char* data, std::size_t size) {
    auto* queue = static_cast<Queue*>(cookie);
    std::lock_guard<std::mutex> hold(queue->lock);
    const std::size_t kept = std::min(size, kQueueBytes - queue->pendingSize);
    std::memcpy(queue->pending.get() + queue->pendingSize, data, kept);
    queue->pendingSize += kept;
    queue->filled.notify_one();
    return static_cast<ssize_t>(size);
}

std::size_t COutputQueue::Queue::Take() {
    std::unique_lock<std::mutex> hold(lock);
    filled.wait(hold, [this] { return closed || pendingSize > 0; });
    const std::size_t size = pendingSize;
    std::swap(pending, writing);
    pendingSize = 0;
    return size;
}

void COutputQueue::Queue::Drain() {
    BlockPipeSignal();
    bool writable = true;
    for (std::size_t size = Take(); size > 0; size = Take())
        writable = writable && WriteAll(fd, writing.get(), size);
    ::close(fd);
}

COutputQueue::COutputQueue() : m_queue(std::make_shared<Queue>()) {
    m_stream = fopencookie(m_queue.get(), "w", {nullptr, &Queue::Put, nullptr, nullptr});
    if (m_stream == nullptr)
        throw std::bad_alloc();
    // Standard output closed, or no thread to be had: the stream drops all it is given.
    m_queue->fd = ::dup(STDOUT_FILENO);
    if (m_queue->fd < 0)
        return;
    try {
        std::thread(&Queue::Drain, m_queue).detach();
    } catch (const std::system_error&) {
        ::close(m_queue->fd);
    }
}

COutputQueue::~COutputQueue() {
    std::fclose(m_stream);
    std::lock_guard<std::mutex> hold(m_queue->lock);
    m_queue->closed = true;
    m_queue->filled.notify_one();
}
