#include "platform/HttpFault.h"

#include <curl/curl.h>

namespace {

// A failure before any reply head: was the server itself out of reach?
HttpFault ConnectionFault(const HttpResult& result) {
    const bool unreachable = result.systemError == CURLE_COULDNT_CONNECT ||
                             result.systemError == CURLE_COULDNT_RESOLVE_HOST;
    return unreachable ? HttpFault::Unreachable : HttpFault::NoReply;
}

} // namespace

HttpFault StatusFault(int status) {
    return status == 404 ? HttpFault::NotFound : HttpFault::BadStatus;
}

HttpFault ClassifyHttp(const HttpResult& result, bool headUsable) {
    if (result.failure == HttpFailure::Cancelled)
        return HttpFault::Cancelled;
    if (result.status > 0 && !headUsable)
        return StatusFault(result.status);
    switch (result.failure) {
    case HttpFailure::None:
        return HttpFault::None;
    case HttpFailure::Cancelled:
        return HttpFault::Cancelled;
    case HttpFailure::Refused:
        return HttpFault::Refused;
    case HttpFailure::NoSession:
        return HttpFault::NoSession;
    case HttpFailure::BadRequest:
        return HttpFault::BadRequest;
    case HttpFailure::NoConnection:
        return ConnectionFault(result);
    case HttpFailure::TimedOut:
        return HttpFault::TimedOut;
    case HttpFailure::BadLength:
        return HttpFault::BadLength;
    case HttpFailure::RedirectLoop:
        return HttpFault::RedirectLoop;
    case HttpFailure::RedirectRefused:
        return HttpFault::RedirectRefused;
    case HttpFailure::CutHead:
    case HttpFailure::CutBody:
    case HttpFailure::Transfer:
        break;
    }
    return HttpFault::Cut;
}
