#pragma once

#include "ConnectionCuts.h"
#include "RequestLog.h"
#include "ServerOptions.h"

#include <filesystem>
#include <httplib.h>

// The POST route of --upload-dir: a multipart upload at any path has its "file_attach" part
// streamed to a file under the upload folder (named by the "path" field and the last step of
// the part's filename, never outside the folder) and is answered 200 with the stored path
// ("/" + its place below the folder), or "[page error:]TEXT" with --upload-error. Any other
// POST is echoed as usual. --status applies when its glob matches the request path or the
// path with its query, so one file of a batch can be made to fail ("*upinx=1"); so does
// --cut-path, after the body has been read. False when the upload folder is not a folder.
bool InstallUploadRoute(httplib::Server& server, const std::filesystem::path& root,
                        const ServerOptions& options, RequestLog& log, ConnectionCuts& cuts);

// The POST route of --keep-body: every body is written unparsed to DIR/N.body (N counts from 1
// in arrival order) and its request line and headers to DIR/N.head, logged without parts and
// answered 200 with "/N.body" (or --post-reply, compressed by --post-encoding), so a test can
// hand the exact bytes to another parser. False when DIR is not a folder.
bool InstallBodyKeepingRoute(httplib::Server& server, const ServerOptions& options,
                             RequestLog& log);
