#include "platform/HttpClient.h"

#include "platform/HttpText.h"

#include <chrono>
#include <curl/curl.h>

static_assert(kHttpNoSessionError == CURLE_FAILED_INIT);

namespace {

constexpr int kPollMilliseconds = 100;           // how soon a cancel from another thread is seen
constexpr long kReceiveBufferBytes = 512 * 1024; // large reads keep bulk downloads fast
constexpr long kSendBufferBytes = 256 * 1024;    // and large file reads keep uploads fast
// What curl says when a reply carried more body than its Content-Length; it drops the rest.
constexpr QByteArrayView kExcessNote = "Excess found";
// The codings a request that accepts compressed replies names, as the product always has.
constexpr char kAcceptedCodings[] = "gzip, deflate";

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
    bool add(const QByteArray& line) {
        curl_slist* grown = curl_slist_append(list, line.constData());
        if (grown)
            list = grown;
        return grown != nullptr;
    }
};

HttpResult Failed(HttpFailure failure, int systemError, const QString& text) {
    HttpResult result;
    result.failure = failure;
    result.systemError = systemError;
    result.errorText = text;
    return result;
}

} // namespace

bool InitHttpClient() {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return initialised;
}

struct HttpSession::State {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    QByteArray agent;
    const std::atomic<bool>* cancel = nullptr;
    QString cookieHost;
    QByteArray cookie;
    HttpTimeouts timeouts;
    int maxRedirects = 0;
    std::function<void(QByteArrayView)> trace;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    // The transfer under way.
    const HttpReplyHandler* reply = nullptr;
    const HttpBodySource* body = nullptr;
    bool headSeen = false;  // the final head was whole and went to the handler
    bool headBegun = false; // a line of a head that is still to be whole has arrived
    bool refused = false;
    bool badLength = false;
    int redirectsSeen = 0;
    int status = 0;
    qint64 bodyBytes = 0;
    qint64 bytesSupplied = 0;

    ~State() {
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
    }

    bool cancelRequested() const { return cancel && cancel->load(); }

    // Every Content-Length line of the head says the same decimal number that fits 63 bits.
    // curl itself takes the last of differing lines and reads an overlong one as "unknown".
    bool lengthIsSound() const {
        curl_header* header = nullptr;
        if (curl_easy_header(easy, "Content-Length", 0, CURLH_HEADER, -1, &header) != CURLHE_OK)
            return true;
        const size_t count = header->amount;
        QByteArray first;
        for (size_t index = 0; index < count; ++index) {
            if (curl_easy_header(easy, "Content-Length", index, CURLH_HEADER, -1, &header) !=
                CURLHE_OK)
                return false;
            const QByteArray value = QByteArray(header->value).trimmed();
            bool number = !value.isEmpty() && value.size() <= 18;
            for (char c : value)
                number = number && c >= '0' && c <= '9';
            if (!number || (index > 0 && value != first))
                return false;
            first = value;
        }
        return true;
    }

    bool deliverHead() {
        headSeen = true;
        if (!lengthIsSound()) {
            badLength = true;
            return false;
        }
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        status = static_cast<int>(code);
        curl_off_t length = -1;
        curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (reply->onHead && !reply->onHead(status, length)) {
            refused = true;
            return false;
        }
        return true;
    }

    static size_t onHeader(char* data, size_t size, size_t count, void* self) {
        auto* state = static_cast<State*>(self);
        const size_t bytes = size * count;
        const QByteArrayView line(data, static_cast<qsizetype>(bytes));
        if (state->cancelRequested())
            return 0;
        if (!line.trimmed().isEmpty()) {
            state->headBegun = true;
            return bytes;
        }
        state->headBegun = false;
        long code = 0;
        curl_easy_getinfo(state->easy, CURLINFO_RESPONSE_CODE, &code);
        // An interim 1xx head is followed by the real one, and so is a redirect that curl is
        // about to follow.
        if (code < 200)
            return bytes;
        if (state->redirectFollows())
            ++state->redirectsSeen;
        else if (!state->deliverHead())
            return 0;
        return bytes;
    }

    bool redirectFollows() const {
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        const bool redirect =
            code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
        curl_header* location = nullptr;
        return maxRedirects > 0 && redirect &&
               curl_easy_header(easy, "Location", 0, CURLH_HEADER, -1, &location) == CURLHE_OK;
    }

    static size_t onWrite(char* data, size_t size, size_t count, void* self) {
        auto* state = static_cast<State*>(self);
        const size_t bytes = size * count;
        if (state->cancelRequested())
            return 0;
        if (!state->headSeen && !state->deliverHead())
            return 0;
        if (state->reply->onBody &&
            !state->reply->onBody(QByteArrayView(data, static_cast<qsizetype>(bytes)))) {
            state->refused = true;
            return 0;
        }
        state->bodyBytes += static_cast<qint64>(bytes);
        return bytes;
    }

    static size_t onRead(char* buffer, size_t size, size_t count, void* self) {
        auto* state = static_cast<State*>(self);
        if (state->cancelRequested())
            return CURL_READFUNC_ABORT;
        const qint64 wanted = state->body->length - state->bytesSupplied;
        const qint64 capacity = std::min<qint64>(static_cast<qint64>(size * count), wanted);
        if (capacity <= 0)
            return 0;
        const qint64 got = state->body->read ? state->body->read(buffer, capacity) : 0;
        if (got <= 0 || got > capacity) {
            // A source that ends early or fails would leave the announced length unmet.
            state->refused = true;
            return CURL_READFUNC_ABORT;
        }
        state->bytesSupplied += got;
        return static_cast<size_t>(got);
    }

    static int onSeek(void* self, curl_off_t offset, int origin) {
        auto* state = static_cast<State*>(self);
        if (offset != 0 || origin != SEEK_SET || !state->body->rewind || !state->body->rewind())
            return CURL_SEEKFUNC_CANTSEEK;
        state->bytesSupplied = 0;
        return CURL_SEEKFUNC_OK;
    }

    static int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
        auto* state = static_cast<State*>(self);
        const QByteArrayView text(data, static_cast<qsizetype>(size));
        if (type == CURLINFO_HEADER_OUT && state->trace)
            state->trace(text);
        if (type == CURLINFO_TEXT && text.startsWith(kExcessNote))
            state->badLength = true;
        return 0;
    }

    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<State*>(self)->cancelRequested() ? 1 : 0;
    }

    void prepare(const QByteArray& url, const HttpReplyHandler& replyHandler) {
        curl_easy_reset(easy);
        reply = &replyHandler;
        body = nullptr;
        headSeen = headBegun = refused = badLength = false;
        redirectsSeen = 0;
        status = 0;
        bodyBytes = bytesSupplied = 0;
        errorBuffer[0] = '\0';
        curl_easy_setopt(easy, CURLOPT_URL, url.constData());
        curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.constData());
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, long(timeouts.connectSeconds));
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(timeouts.lowSpeedSeconds));
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &State::onHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &State::onWrite);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &State::onProgress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        // Always on: the excess-body note comes only through the debug channel.
        curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &State::onDebug);
        curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
        curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    }

    void streamBody(const HttpBodySource& source) {
        body = &source;
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(source.length));
        curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, kSendBufferBytes);
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, &State::onRead);
        curl_easy_setopt(easy, CURLOPT_READDATA, this);
        curl_easy_setopt(easy, CURLOPT_SEEKFUNCTION, &State::onSeek);
        curl_easy_setopt(easy, CURLOPT_SEEKDATA, this);
    }

    bool addHeaders(HeaderList& list, const QByteArray& url, const QList<QByteArray>& headers) {
        for (const QByteArray& line : headers) {
            if (!list.add(CurlHeaderLine(line)))
                return false;
        }
        // The body length is always known: no 100-continue round trip, no chunked encoding.
        if (body && (!list.add("Expect:") || !list.add("Transfer-Encoding:")))
            return false;
        // No content type of curl's choosing: the body is sent as the caller labels it.
        if (body && !HasHeader(headers, "Content-Type") && !list.add("Content-Type:"))
            return false;
        if (!cookie.isEmpty() && !HasHeader(headers, "Cookie") &&
            UrlHost(url).compare(cookieHost, Qt::CaseInsensitive) == 0 &&
            !list.add("Cookie: " + cookie))
            return false;
        return true;
    }

    // Drives the transfer on this thread, looking at the cancel flag and the deadline between
    // short waits.
    CURLcode perform(bool* cancelled, bool* timedOut) {
        *cancelled = *timedOut = false;
        if (curl_multi_add_handle(multi, easy) != CURLM_OK)
            return CURLE_FAILED_INIT;
        using Clock = std::chrono::steady_clock;
        const bool limited = timeouts.totalMilliseconds > 0;
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(limited ? timeouts.totalMilliseconds : 0);
        CURLcode code = CURLE_OK;
        for (;;) {
            int running = 0;
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                code = CURLE_OUT_OF_MEMORY;
                break;
            }
            if (running == 0) {
                int left = 0;
                CURLMsg* message = curl_multi_info_read(multi, &left);
                code = message && message->msg == CURLMSG_DONE ? message->data.result
                                                               : CURLE_RECV_ERROR;
                break;
            }
            if (cancelRequested()) {
                *cancelled = true;
                break;
            }
            int wait = kPollMilliseconds;
            if (limited) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                if (left.count() <= 0) {
                    *timedOut = true;
                    code = CURLE_OPERATION_TIMEDOUT;
                    break;
                }
                wait = static_cast<int>(std::min<long long>(wait, left.count()));
            }
            curl_multi_poll(multi, nullptr, 0, wait, nullptr);
        }
        curl_multi_remove_handle(multi, easy);
        *cancelled = *cancelled || cancelRequested();
        return code;
    }

    HttpResult run(const QByteArray& url, const QList<QByteArray>& headers) {
        HeaderList list;
        if (!addHeaders(list, url, headers))
            return Failed(HttpFailure::NoSession, CURLE_OUT_OF_MEMORY, "out of memory");
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list.list);
        bool cancelled = false;
        bool timedOut = false;
        const CURLcode code = perform(&cancelled, &timedOut);
        HttpResult result;
        result.status = headSeen ? status : 0;
        result.bodyBytes = bodyBytes;
        result.systemError = code;
        result.errorText = QString::fromUtf8(errorBuffer);
        if (result.errorText.isEmpty() && code != CURLE_OK)
            result.errorText = QString::fromUtf8(curl_easy_strerror(code));
        if (cancelled) {
            result.failure = HttpFailure::Cancelled;
            result.systemError = CURLE_ABORTED_BY_CALLBACK;
        } else if (timedOut) {
            result.failure = HttpFailure::TimedOut;
            result.errorText = QStringLiteral("the exchange took longer than %1 ms")
                                   .arg(timeouts.totalMilliseconds);
        } else if (badLength) {
            result.failure = HttpFailure::BadLength;
            result.systemError = CURLE_WEIRD_SERVER_REPLY;
            result.errorText = QStringLiteral("the reply's Content-Length is not one true length");
        } else if (refused) {
            result.failure = HttpFailure::Refused;
        } else if (!headSeen && redirectsSeen > 0 && code == CURLE_TOO_MANY_REDIRECTS) {
            result.failure = HttpFailure::RedirectLoop;
        } else if (!headSeen && redirectsSeen > 0 && code == CURLE_UNSUPPORTED_PROTOCOL) {
            result.failure = HttpFailure::RedirectRefused;
        } else if (!headSeen && (headBegun || code == CURLE_OK)) {
            // A peer that closes inside the head leaves curl content when no length was
            // announced yet; no head, no reply.
            result.failure = HttpFailure::CutHead;
            if (code == CURLE_OK) {
                result.systemError = CURLE_PARTIAL_FILE;
                result.errorText = QStringLiteral("connection closed inside the reply head");
            }
        } else if (code == CURLE_OK) {
            result.failure = HttpFailure::None;
        } else if (code == CURLE_PARTIAL_FILE) {
            result.failure = HttpFailure::CutBody;
        } else {
            result.failure = headSeen ? HttpFailure::Transfer : HttpFailure::NoConnection;
        }
        return result;
    }
};

namespace {

// Anything that would end up in the request line or a header must hold no control character.
bool RequestTextIsSafe(const QByteArray& url, const QList<QByteArray>& headers,
                       const QByteArray& cookie) {
    if (url.isEmpty() || HasControlCharacters(url, false) || HasControlCharacters(cookie, false))
        return false;
    for (const QByteArray& line : headers) {
        if (HasControlCharacters(line, true))
            return false;
    }
    return true;
}

bool IsToken(const QByteArray& method) {
    if (method.isEmpty())
        return false;
    for (char c : method) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_'))
            return false;
    }
    return true;
}

} // namespace

HttpSession::HttpSession(QByteArray agent, const std::atomic<bool>* cancel)
    : m_state(std::make_unique<State>()) {
    m_state->agent = std::move(agent);
    m_state->cancel = cancel;
    m_state->easy = curl_easy_init();
    m_state->multi = curl_multi_init();
}

HttpSession::~HttpSession() = default;
HttpSession::HttpSession(HttpSession&&) noexcept = default;
HttpSession& HttpSession::operator=(HttpSession&&) noexcept = default;

bool HttpSession::isValid() const {
    return m_state && m_state->easy && m_state->multi;
}

void HttpSession::setPageCookie(const QString& host, const QByteArray& cookie) {
    if (!m_state)
        return;
    m_state->cookieHost = host;
    m_state->cookie = cookie;
}

void HttpSession::setTimeouts(const HttpTimeouts& timeouts) {
    if (m_state)
        m_state->timeouts = timeouts;
}

void HttpSession::setFollowRedirects(int maxRedirects) {
    if (m_state)
        m_state->maxRedirects = std::max(maxRedirects, 0);
}

QByteArray HttpSession::replyHeader(const char* name) const {
    curl_header* header = nullptr;
    if (!isValid() ||
        curl_easy_header(m_state->easy, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK)
        return {};
    return QByteArray(header->value).trimmed();
}

void HttpSession::setRequestTrace(std::function<void(QByteArrayView)> trace) {
    if (m_state)
        m_state->trace = std::move(trace);
}

HttpResult HttpSession::get(const QByteArray& url, const QList<QByteArray>& extraHeaders,
                            const HttpReplyHandler& reply) {
    if (!isValid())
        return Failed(HttpFailure::NoSession, kHttpNoSessionError, "no HTTP session");
    if (!RequestTextIsSafe(url, extraHeaders, m_state->cookie) ||
        HasControlCharacters(m_state->agent, false))
        return Failed(HttpFailure::BadRequest, 0, "control character in request");
    const QByteArray encoded = EncodeUrlBytes(url);
    m_state->prepare(encoded, reply);
    curl_easy_setopt(m_state->easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(m_state->easy, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    if (m_state->maxRedirects > 0) {
        curl_easy_setopt(m_state->easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(m_state->easy, CURLOPT_MAXREDIRS, long(m_state->maxRedirects));
    }
    return m_state->run(encoded, extraHeaders);
}

HttpResult HttpSession::send(const HttpRequest& request, const HttpReplyHandler& reply) {
    if (!isValid())
        return Failed(HttpFailure::NoSession, kHttpNoSessionError, "no HTTP session");
    if (!RequestTextIsSafe(request.url, request.headers, m_state->cookie) ||
        HasControlCharacters(m_state->agent, false) || !IsToken(request.method) ||
        request.body.length < 0)
        return Failed(HttpFailure::BadRequest, 0, "control character in request");
    const QByteArray encoded = EncodeUrlBytes(request.url);
    m_state->prepare(encoded, reply);
    m_state->streamBody(request.body);
    if (request.method != "POST")
        curl_easy_setopt(m_state->easy, CURLOPT_CUSTOMREQUEST, request.method.constData());
    if (request.acceptCompressed)
        curl_easy_setopt(m_state->easy, CURLOPT_ACCEPT_ENCODING, kAcceptedCodings);
    return m_state->run(encoded, request.headers);
}

HttpReplyHandler CollectReply(QByteArray* out, qsizetype limit) {
    HttpReplyHandler handler;
    handler.onBody = [out, limit](QByteArrayView piece) {
        const qsizetype room = limit - out->size();
        if (room > 0)
            out->append(piece.first(std::min(room, piece.size())));
        return true;
    };
    return handler;
}
