#pragma once

#include "transfer/FormPostJob.h"

class HttpSession;

// A request whose reply head never came back may not have reached the script: it is sent
// again, up to this many times in all.
inline constexpr int kFormPostAttempts = 6;
// The reply text keeps at most this many bytes.
inline constexpr qsizetype kFormReplyLimit = 1023;

// The worker's body: posts `job` with its own HTTP session ("MxPOSTForm", or "MxPOSTFormEx"
// for a multipart post), sets the result and the reply and finishes the job as its last act.
// A status other than 200 saves the reply as the server error page. Touches nothing but `job`
// and that page.
void RunFormPost(FormPostJob& job);
// The same over `session`, which the caller opened for the job.
void RunFormPost(FormPostJob& job, HttpSession& session);
