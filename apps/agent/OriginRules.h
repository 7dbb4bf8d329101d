#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Who may connect to the agent. Browsers name a page's origin in the handshake's Origin
// header and the address they dialled in its Host header; both are checked here, without any
// socket, so the rules can be tested on their own.

// An origin as browsers send it, "scheme://host[:port]" in lower case, without the scheme's
// default port. Empty when `text` is not an http or https origin: "null", another scheme, a
// user name, a path other than "/", a query or a fragment.
QString NormalOrigin(const QString& text);

// The origin of the page at `pageUrl` (its scheme, host and port), normalised; empty when the
// address is not an http or https one.
QString OriginOfPage(const QString& pageUrl);

// True when the two origins are one. "localhost" and "127.0.0.1" are the same loopback host,
// so a user who allowed either spelling allowed both.
bool SameOrigin(const QString& a, const QString& b);

// True when a handshake's Host header names this agent, "127.0.0.1:PORT" or "localhost:PORT".
// Any other name is refused, so a page cannot reach the agent through a host name of its own
// that it points at 127.0.0.1 (DNS rebinding).
bool HostHeaderNamesAgent(const QByteArray& hostHeader, quint16 port);

enum class OriginVerdict { Allowed, Refused, Unknown };

// The user's decisions per origin, as the settings file and the command line give them.
struct OriginLists {
    QStringList allowed;
    QStringList trusted; // allowed, and may use local paths without being asked
    QStringList refused;
};

// Decides an origin against the lists. An origin that is allowed or trusted in any spelling is
// allowed, even when it is also refused; one on no list is Unknown where the user can be asked
// and refused where not (offscreen).
class OriginRules {
public:
    OriginRules(OriginLists lists, bool canAsk);

    OriginVerdict verdict(const QString& origin) const;
    bool isTrusted(const QString& origin) const;

private:
    static bool listed(const QStringList& list, const QString& origin);

    OriginLists lists_;
    bool canAsk_;
};
