// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HttpFetch.h"

#include <algorithm>
#include <cstring>
#include <curl/curl.h>

namespace velmaro::platform {

namespace {

constexpr const char* AgentName = "Velmaro";
constexpr long MaxRedirects = 10;
// How long one wait on the network lasts at most; a cancel wakes it earlier.
constexpr int PollMilliseconds = 1000;

} // namespace

bool initHttp() {
    return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

void HttpCancel::cancel() {
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    if (m_waker) {
        m_waker();
    }
}

void HttpCancel::setWaker(std::function<void()> waker) {
    std::lock_guard lock(m_mutex);
    m_waker = std::move(waker);
}

// The libcurl handles of one transfer and the body bytes received but not read yet.
struct HttpFetch::Transfer {
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    bool added = false;
    std::string pending;
    std::size_t offset = 0;
    bool done = false;

    Transfer() = default;
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    ~Transfer() {
        if (added) {
            curl_multi_remove_handle(multi, easy);
        }
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        curl_slist_free_all(headers);
    }

    std::size_t available() const { return pending.size() - offset; }

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self) {
        static_cast<Transfer*>(self)->pending.append(data, size * count);
        return size * count;
    }

    // Called by libcurl while a transfer runs, also when nothing arrives; a non-zero answer
    // aborts the transfer.
    static int onProgress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<const HttpCancel*>(cancel)->cancelled() ? 1 : 0;
    }

    bool configure(const std::string& address, HttpCancel& cancel) {
        if (!easy || !multi || !headers) {
            return false;
        }
        const bool ok =
            curl_easy_setopt(easy, CURLOPT_URL, address.c_str()) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_MAXREDIRS, MaxRedirects) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_USERAGENT, AgentName) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &cancel) == CURLE_OK;
        added = ok && curl_multi_add_handle(multi, easy) == CURLM_OK;
        return added;
    }

    // Collects the end of the transfer; its success does not matter, since whatever arrived
    // before a failure is read all the same.
    void collectEnd() {
        int queued = 0;
        while (const CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                done = true;
            }
        }
    }
};

HttpFetch::HttpFetch(HttpCancel& cancel) : m_cancel(cancel) {}

HttpFetch::~HttpFetch() {
    if (m_transfer) {
        m_cancel.setWaker(nullptr);
    }
}

bool HttpFetch::open(const std::string& address) {
    if (m_transfer || m_cancel.cancelled()) {
        return false;
    }
    auto transfer = std::make_unique<Transfer>();
    if (!transfer->configure(address, m_cancel)) {
        return false;
    }
    m_transfer = std::move(transfer);
    CURLM* multi = m_transfer->multi;
    m_cancel.setWaker([multi] { curl_multi_wakeup(multi); });
    fill(1);
    if (m_cancel.cancelled()) {
        return false;
    }
    if (m_transfer->available() > 0) {
        return true;
    }
    long status = 0;
    curl_easy_getinfo(m_transfer->easy, CURLINFO_RESPONSE_CODE, &status);
    return status != 0;
}

std::size_t HttpFetch::read(char* buffer, std::size_t size) {
    if (!m_transfer || m_cancel.cancelled()) {
        return 0;
    }
    fill(size);
    Transfer& transfer = *m_transfer;
    const std::size_t count = std::min(size, transfer.available());
    std::memcpy(buffer, transfer.pending.data() + transfer.offset, count);
    transfer.offset += count;
    if (transfer.offset * 2 >= transfer.pending.size()) {
        transfer.pending.erase(0, transfer.offset);
        transfer.offset = 0;
    }
    return count;
}

// Drives the transfer until `wanted` bytes wait unread or it has ended.
void HttpFetch::fill(std::size_t wanted) {
    Transfer& transfer = *m_transfer;
    while (!transfer.done && transfer.available() < wanted) {
        int running = 0;
        if (m_cancel.cancelled() || curl_multi_perform(transfer.multi, &running) != CURLM_OK) {
            transfer.done = true;
            break;
        }
        transfer.collectEnd();
        if (transfer.done || transfer.available() >= wanted) {
            break;
        }
        if (curl_multi_poll(transfer.multi, nullptr, 0, PollMilliseconds, nullptr) != CURLM_OK) {
            transfer.done = true;
        }
    }
}

} // namespace velmaro::platform
