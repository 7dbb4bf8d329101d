#pragma once

#include "ServerOptions.h"

#include <httplib.h>
#include <string>

// Answers a POST with `body`, or with the bytes of --post-reply in its place, compressed as
// --post-encoding asks (and labelled with that Content-Encoding whatever the request
// accepts), shaped as SetShapedBody does. A --post-reply file that cannot be read is
// answered 500.
void SetPostReply(httplib::Response& res, std::string body, const ServerOptions& options);

// `bytes` compressed as "gzip" or "deflate" (zlib-wrapped); unchanged for any other coding.
std::string CompressedAs(const std::string& bytes, const std::string& coding);
