#pragma once

#include <cstdint>
#include <string>

// Everything the command line can ask of the test server.
struct ServerOptions {
    std::string root;             // the folder served; nothing outside it is ever read
    int port = 0;                 // 0 picks a free port
    std::string logPath;          // one JSON line per request when not empty
    int status = 0;               // answer this status instead (0: off) ...
    std::string statusPath = "*"; // ... to request paths matching this glob
    std::int64_t dropAfter = -1;  // cut the connection after this many body bytes (-1: off)
    bool ignoreRange = false;     // answer a Range request with 200 and the whole body
    int rateKbps = 0;             // throttle bodies to this many KiB per second (0: off)
    int trickleMs = 0;            // send bodies one byte every this many ms (0: off)
    int delayMs = 0;              // wait this long before answering
    std::string uploadDir;        // store multipart uploads here (empty: POST echoes)
    std::string uploadError;      // answer uploads with "[page error:]" and this text
    std::string bodyDir;          // keep every POST body unparsed here (empty: off)
    std::string postReply;        // answer POSTs with this file's bytes (empty: off)
    std::string postEncoding;     // compress POST replies: "gzip" or "deflate" (empty: off)
    std::string quirk;            // one deliberate protocol oddity (see Quirks.h); empty: none
    std::string cut;              // break the connection at this point (see ConnectionCuts.h) ...
    std::string cutPath = "*";    // ... for requests whose path or target matches this glob ...
    int cutSkip = 0;              // ... after letting this many of them through
};

enum class ParseOutcome { Run, Help, Bad };

// Reads `argv` into `options`; on Bad, `error` says why.
ParseOutcome ParseServerOptions(int argc, char** argv, ServerOptions& options, std::string& error);

// The --help text.
const char* ServerUsage();
