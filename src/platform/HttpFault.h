#pragma once

#include "platform/HttpClient.h"

// The one reading of how an exchange ended. Every caller that turns an HttpResult into its own
// result code reads it through ClassifyHttp and maps the fault to its family's code, so a
// connect failure, a refused status or a cut body means the same thing to every transfer.
enum class HttpFault {
    None,            // the caller took the reply head and the reply arrived whole
    Cancelled,       // the cancel flag was set
    NotFound,        // the reply head said 404 and the caller could not use it
    BadStatus,       // the reply head had another status the caller could not use
    Refused,         // the caller's handler or body source stopped the exchange for its own reason
    NoSession,       // no curl handle, or no memory for the request
    BadRequest,      // refused before sending: control characters, no URL
    Unreachable,     // the server's name did not resolve or its port refused the connection
    NoReply,         // no reply head came back for another reason (send failure, reset, closed)
    TimedOut,        // the exchange outlasted HttpTimeouts::totalMilliseconds
    BadLength,       // the reply's Content-Length is not one true length
    RedirectLoop,    // more redirects than are followed
    RedirectRefused, // a redirect to a scheme other than http or https
    Cut,             // the reply broke off: inside its head, inside its body, or a stall after it
};

// Reads `result` in this order: a cancel; then a reply head the caller could not use
// (`headUsable` false; ignored when no head arrived); then the caller's own refusal; then the
// transport.
HttpFault ClassifyHttp(const HttpResult& result, bool headUsable);
// The fault of a reply head with `status` that the caller could not use.
HttpFault StatusFault(int status);
