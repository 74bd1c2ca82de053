// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace velmaro::platform {

// Sets up the HTTP library for the whole process (curl_global_init). Call it once from main
// before any other thread starts; tests call it the same way. Returns false when the library
// cannot be set up, in which case every fetch fails. The library is never torn down again,
// because a background fetch may still be running while the process ends.
bool initHttp();

// A request to end a transfer, shared between the thread that runs the transfer and any other
// thread that may want it ended. Once cancelled it stays cancelled.
class HttpCancel {
public:
    // Ends the transfer that uses this token at once, also while it waits on the network, and
    // makes every later transfer with it fail. Safe from any thread.
    void cancel();

    bool cancelled() const { return m_cancelled.load(); }

private:
    friend class HttpFetch;
    // The transfer in progress registers how to wake it; nullptr when none runs.
    void setWaker(std::function<void()> waker);

    std::mutex m_mutex;
    std::atomic<bool> m_cancelled{false};
    std::function<void()> m_waker;
};

// One HTTP GET, read as the Windows Internet functions read a resource: open the address, then
// read the body piece by piece until a read returns 0. The request goes out with a fixed short
// agent name and "Cache-Control: no-cache", through the proxy the environment names (http_proxy,
// https_proxy, no_proxy), follows redirects over HTTP and HTTPS only, and has no time limit of
// its own: a silent server is left by cancelling. An HTTP error status is not a failure: the page
// that comes with it is the body. The object is used on one thread; only the cancel token is
// shared.
class HttpFetch {
public:
    // The token must outlive this object.
    explicit HttpFetch(HttpCancel& cancel);
    ~HttpFetch();
    HttpFetch(const HttpFetch&) = delete;
    HttpFetch& operator=(const HttpFetch&) = delete;

    // Sends the request and waits until the answer begins (its first body bytes have arrived or
    // the transfer has ended). Returns false when there is no answer: the host does not resolve,
    // the connection fails, the transfer is cancelled, or the address is not HTTP(S). Call once.
    bool open(const std::string& address);

    // Copies up to size bytes of the body into buffer. It fills the whole buffer unless the body
    // ends first, so the body arrives in consecutive pieces of exactly size bytes, the last one
    // shorter, however the network splits it. Returns the number of bytes copied; 0 means the
    // body has ended, the transfer failed or was cancelled, or open did not succeed.
    std::size_t read(char* buffer, std::size_t size);

private:
    struct Transfer;
    void fill(std::size_t wanted);

    HttpCancel& m_cancel;
    std::unique_ptr<Transfer> m_transfer;
};

} // namespace velmaro::platform
