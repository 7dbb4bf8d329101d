#pragma once

#include "RequestLog.h"
#include "ServerOptions.h"

#include <filesystem>
#include <httplib.h>

// The POST route of --upload-dir: a multipart upload at any path has its "file_attach" part
// streamed to a file under the upload folder (named by the "path" field and the last step of
// the part's filename, never outside the folder) and is answered 200 with the stored path
// ("/" + its place below the folder), or "[page error:]TEXT" with --upload-error. Any other
// POST is echoed as usual. --status applies when its glob matches the request path or the
// path with its query, so one file of a batch can be made to fail ("*upinx=1"). False when
// the upload folder is not a folder.
bool InstallUploadRoute(httplib::Server& server, const std::filesystem::path& root,
                        const ServerOptions& options, RequestLog& log);
