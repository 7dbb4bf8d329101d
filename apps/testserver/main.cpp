#include "ConnectionCuts.h"
#include "FileServing.h"
#include "Misbehaviour.h"
#include "PostReplies.h"
#include "Quirks.h"
#include "RequestLog.h"
#include "ServerOptions.h"
#include "UploadHandling.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <httplib.h>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace {

constexpr int kBadUsage = 2;
constexpr int kStopGraceMs = 300;

// Waits for SIGTERM or SIGINT on its own thread and stops the server cleanly.
void StopOnSignals(httplib::Server& server, const sigset_t& signals) {
    std::thread([&server, signals] {
        int received = 0;
        sigwait(&signals, &received);
        g_stopping = true;
        server.stop();
        // Idle kept-alive connections would hold the worker threads for seconds; nothing is
        // left to finish once the deliberate waits have ended.
        std::this_thread::sleep_for(std::chrono::milliseconds(kStopGraceMs));
        std::fflush(stdout);
        std::_Exit(0);
    }).detach();
}

std::uint64_t ReceivedBodyLength(const httplib::Request& req) {
    if (req.is_multipart_form_data() && req.has_header("Content-Length"))
        return req.get_header_value<std::uint64_t>("Content-Length");
    return req.body.size();
}

void InstallRoutes(httplib::Server& server, const std::filesystem::path& root,
                   const ServerOptions& options, RequestLog& log, ConnectionCuts& cuts) {
    server.Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        log.write(req, 0);
        SleepUnlessStopping(options.delayMs);
        if (ServeQuirk(root, req, res, options))
            return;
        const auto serve = [&](const ServerOptions& shaped) {
            if (StatusOverrideApplies(shaped, req.path))
                ServeStatusOverride(root, req, res, shaped);
            else
                ServeFile(root, req, res, shaped);
        };
        if (!cuts.cut(req, res, serve))
            serve(options);
    });
    server.Post(".*", [&](const httplib::Request& req, httplib::Response& res) {
        log.write(req, ReceivedBodyLength(req));
        SleepUnlessStopping(options.delayMs);
        const auto serve = [&](const ServerOptions& shaped) {
            if (StatusOverrideApplies(shaped, req.path))
                ServeStatusOverride(root, req, res, shaped);
            else
                SetPostReply(res, req.body, shaped);
        };
        if (!cuts.cut(req, res, serve))
            serve(options);
    });
}

} // namespace

int main(int argc, char** argv) {
    ServerOptions options;
    std::string error;
    switch (ParseServerOptions(argc, argv, options, error)) {
    case ParseOutcome::Help:
        std::cout << ServerUsage();
        return 0;
    case ParseOutcome::Bad:
        std::cerr << "vantrel-testserver: " << error << "\n\n" << ServerUsage();
        return kBadUsage;
    case ParseOutcome::Run:
        break;
    }
    std::error_code fsError;
    const std::filesystem::path root = std::filesystem::canonical(options.root, fsError);
    if (fsError || !std::filesystem::is_directory(root)) {
        std::cerr << "vantrel-testserver: not a folder: " << options.root << "\n";
        return kBadUsage;
    }
    RequestLog log;
    if (!log.open(options.logPath)) {
        std::cerr << "vantrel-testserver: cannot open log " << options.logPath << "\n";
        return kBadUsage;
    }
    // Block the stop signals in every thread; one thread takes them with sigwait.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    httplib::Server server;
    // A reply's head and body go out in separate writes: without this, the body of a small
    // reply waits for the client's delayed acknowledgement of the head (tens of ms a request).
    server.set_tcp_nodelay(true);
    ConnectionCuts cuts(options);
    if (!options.bodyDir.empty() && !InstallBodyKeepingRoute(server, options, log)) {
        std::cerr << "vantrel-testserver: not a folder: " << options.bodyDir << "\n";
        return kBadUsage;
    }
    if (!options.uploadDir.empty() && !InstallUploadRoute(server, root, options, log, cuts)) {
        std::cerr << "vantrel-testserver: not a folder: " << options.uploadDir << "\n";
        return kBadUsage;
    }
    InstallRoutes(server, root, options, log, cuts);
    const int port = options.port == 0
                         ? server.bind_to_any_port("127.0.0.1")
                         : (server.bind_to_port("127.0.0.1", options.port) ? options.port : -1);
    if (port <= 0) {
        std::cerr << "vantrel-testserver: cannot listen on port " << options.port << "\n";
        return 1;
    }
    StopOnSignals(server, signals);
    std::printf("listening on %d\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() || g_stopping ? 0 : 1;
}
