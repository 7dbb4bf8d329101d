#pragma once

#include "platform/HttpClient.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <atomic>

// Result codes of FetchToFile.
inline constexpr qint16 kFetchOk = 0;
inline constexpr qint16 kFetchNoSession = -1;    // the HTTP session could not be opened
inline constexpr qint16 kFetchNoAddress = -2;    // no connection, bad or refused address
inline constexpr qint16 kFetchBadStatus = -404;  // any status other than 200
inline constexpr qint16 kFetchCannotCreate = -3; // the file could not be created
inline constexpr qint16 kFetchWriteFailed = -4;  // a write to the file failed
inline constexpr qint16 kFetchOtherFailure = -5; // cut head or body, cancel, stall after the head
inline constexpr qint16 kFetchTooLarge = -6;     // the body announced or sent more than maxBytes
inline constexpr qint16 kFetchTimedOut = -7;     // the fetch outlasted timeouts.totalMilliseconds

struct FetchOptions {
    QByteArray agent = "MxVantrel2";
    const std::atomic<bool>* cancel = nullptr; // may be null; must outlive the call
    QString pageHost;                          // with pageCookie: see HttpSession::setPageCookie
    QByteArray pageCookie;
    HttpTimeouts timeouts;
    qint64 maxBytes = -1; // the body may hold at most this many bytes; -1: no limit
};

// GETs `url` (converted to UTF-8 wire bytes) and writes its body to `path`. The status is
// judged before the file is touched: only a 200 creates it, replacing any earlier file when
// the whole body has arrived; on every failure `path` is left as it was (no partial file).
// A body beyond `maxBytes` ends the transfer as soon as it is announced or arrives.
qint16 FetchToFile(const QString& url, const QString& path, const FetchOptions& options = {});
