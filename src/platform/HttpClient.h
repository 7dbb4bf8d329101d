#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

// HTTP over one libcurl easy handle. A session belongs to one worker thread and is reused for
// all requests of that worker's run, so a batch stays on one kept-alive connection. Another
// thread cancels only by setting the job's atomic flag; the session notices it within about
// 100 ms, drops the connection and returns `Cancelled`.

// Once per process, before any session: from main() and from test set-up. Returns false when
// libcurl could not be initialised.
bool InitHttpClient();

enum class HttpFailure {
    None,            // the exchange completed (any status)
    NoSession,       // the curl handle could not be created
    BadRequest,      // refused before sending: control characters in URL/header/cookie, no URL
    NoConnection,    // no reply head: bad address, refused protocol, resolve/connect/send failure
    Cancelled,       // the cancel flag was set
    CutHead,         // the connection ended after the reply head began and before it was whole
    CutBody,         // the body ended before its announced Content-Length
    Refused,         // a caller callback refused the head, the body or the upload source
    Transfer,        // any other failure after the reply head (stall, reset)
    TimedOut,        // the whole exchange outlasted HttpTimeouts::totalMilliseconds
    BadLength,       // the head's Content-Length is not one number (several values, not a
                     // number, too large), or more body came than it announced
    RedirectLoop,    // more redirects than setFollowRedirects allows
    RedirectRefused, // a redirect to a scheme other than http or https
};

// The systemError of a session whose curl handles could not be created.
inline constexpr int kHttpNoSessionError = 2;

struct HttpResult {
    HttpFailure failure = HttpFailure::None;
    int status = 0;       // HTTP status of the final reply head; 0 when none arrived
    int systemError = 0;  // the CURLcode (0 on success); CURLE_ABORTED_BY_CALLBACK when cancelled,
                          // CURLE_PARTIAL_FILE for a cut head that curl let pass
    QString errorText;    // curl's error buffer, or why the request was refused
    qint64 bodyBytes = 0; // reply body bytes delivered to the handler
    bool ok() const { return failure == HttpFailure::None; }
};

// How a reply is consumed. Both members are optional.
struct HttpReplyHandler {
    // Called once, after the final reply head and before any body byte. `contentLength` is -1
    // when unknown. Returning false ends the transfer as `Refused` (nothing more is read).
    std::function<bool(int status, qint64 contentLength)> onHead;
    // Called with each piece of the body in order. Returning false ends it as `Refused`.
    std::function<bool(QByteArrayView piece)> onBody;
};

// The body of a request, pulled in pieces while it is sent; never held whole in memory.
struct HttpBodySource {
    qint64 length = 0; // announced as Content-Length; exactly this many bytes must be supplied
    // Fills at most `capacity` bytes at `buffer`; returns the count, 0 only at the end, -1 to
    // abort the request (`Refused`). May be empty when `length` is 0.
    std::function<qint64(char* buffer, qint64 capacity)> read;
    // Starts the body again from its first byte (curl may resend on a dropped kept-alive
    // connection). Returns false when that is impossible. May be empty: the body then goes out
    // at most once, and a resend curl would make fails the request instead.
    std::function<bool()> rewind;
};

struct HttpRequest {
    QByteArray url;             // wire bytes; spaces and bytes >= 0x80 are percent-encoded
    QByteArray method = "POST"; // the verb
    QList<QByteArray> headers;  // "Name: value" lines, sent in this order; "Name: " goes out empty
    HttpBodySource body;
    // Sends "Accept-Encoding: gzip, deflate" and hands the reply body on decoded, so the
    // handler sees the text whatever the server compressed. A Content-Length then counts the
    // compressed bytes.
    bool acceptCompressed = false;
};

struct HttpTimeouts {
    int connectSeconds = 15;      // give up connecting after this long
    int lowSpeedSeconds = 60;     // abort when under 1 byte/s for this long
    qint64 totalMilliseconds = 0; // end the whole exchange as TimedOut after this long (0: never)
};

class HttpSession {
public:
    // `agent` is the User-Agent text. `cancel` (may be null) must outlive the session.
    explicit HttpSession(QByteArray agent, const std::atomic<bool>* cancel = nullptr);
    ~HttpSession();
    HttpSession(HttpSession&&) noexcept;
    HttpSession& operator=(HttpSession&&) noexcept;
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // False when the curl handles could not be created; every request then fails `NoSession`.
    bool isValid() const;

    // The page's host name and cookie text: "Cookie: <cookie>" goes with every request whose
    // URL host equals `host` (case-insensitive), unless the request carries its own Cookie
    // line, and never to another host. An empty cookie sends nothing.
    void setPageCookie(const QString& host, const QByteArray& cookie);
    void setTimeouts(const HttpTimeouts& timeouts);
    // GET requests follow up to `maxRedirects` redirects (http/https only; 0, the default,
    // follows none). Only the final reply reaches the handler; more hops fail as
    // RedirectLoop, a hop to another scheme as RedirectRefused.
    void setFollowRedirects(int maxRedirects);
    // The value of header `name` in the latest reply head, trimmed; empty when absent. Valid
    // from inside `onHead` until the next request.
    QByteArray replyHeader(const char* name) const;
    // Each request head exactly as sent goes to `trace` (diagnostics); empty to stop.
    void setRequestTrace(std::function<void(QByteArrayView head)> trace);

    // GET `url` (wire bytes) with `extraHeaders` (e.g. a Range line); the reply goes to
    // `reply`. Redirects are followed only as `setFollowRedirects` allows.
    HttpResult get(const QByteArray& url, const QList<QByteArray>& extraHeaders,
                   const HttpReplyHandler& reply);
    // Sends `request` with its body streamed from `request.body`; the reply goes to `reply`.
    HttpResult send(const HttpRequest& request, const HttpReplyHandler& reply);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// A handler that keeps the first `limit` body bytes in `*out` (however many pieces they come
// in) and reads and drops the rest, so the connection stays reusable.
HttpReplyHandler CollectReply(QByteArray* out, qsizetype limit);

// `url` with spaces and bytes >= 0x80 percent-encoded; all else, existing %XX too, unchanged.
QByteArray EncodeUrlBytes(const QByteArray& url);
// True when `text` holds CR, LF, NUL or another control character (tab allowed if `allowTab`).
bool HasControlCharacters(QByteArrayView text, bool allowTab);
