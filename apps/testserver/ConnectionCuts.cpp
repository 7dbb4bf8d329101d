#include "ConnectionCuts.h"

#include "Misbehaviour.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The status line and part of a header: a head the peer never finishes.
constexpr char kHalfHead[] = "HTTP/1.1 200 OK\r\nServer: vantrel-testserver\r\nContent-Ty";

int Port(const sockaddr_in& address) {
    return ntohs(address.sin_port);
}

// The descriptor of the connection `req` came in on; -1 when none matches. The server
// library hides it, but the two ports name the connection.
int ConnectionSocket(const httplib::Request& req) {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return -1;
    int found = -1;
    while (const dirent* entry = readdir(folder)) {
        const int fd = std::atoi(entry->d_name);
        sockaddr_in local{};
        sockaddr_in peer{};
        socklen_t localSize = sizeof local;
        socklen_t peerSize = sizeof peer;
        if (fd <= 2 || getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
            local.sin_family != AF_INET ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0)
            continue;
        if (Port(local) == req.local_port && Port(peer) == req.remote_port) {
            found = fd;
            break;
        }
    }
    closedir(folder);
    return found;
}

// Closes the connection under the library's feet: /dev/null takes the descriptor's place, so
// the library's own writes and its final close go nowhere and no other connection can get
// the number meanwhile.
bool BreakConnection(const httplib::Request& req, const std::string& how,
                     std::string_view bytes = {}) {
    const int fd = ConnectionSocket(req);
    if (fd < 0)
        return false;
    if (how == "in-head")
        bytes = std::string_view(kHalfHead, sizeof kHalfHead - 1);
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            break;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    if (how == "reset") {
        const linger abort{1, 0}; // closing sends RST instead of FIN
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null < 0)
        return false;
    const bool replaced = dup2(null, fd) == fd;
    close(null);
    return replaced;
}

} // namespace

bool SendRawAndClose(const httplib::Request& req, std::string_view bytes) {
    return BreakConnection(req, "raw", bytes);
}

bool ConnectionCuts::cut(const httplib::Request& req, httplib::Response& res,
                         const std::function<void(const ServerOptions&)>& serve) {
    if (options_.cut.empty())
        return false;
    const bool chosen = fnmatch(options_.cutPath.c_str(), req.path.c_str(), 0) == 0 ||
                        fnmatch(options_.cutPath.c_str(), req.target.c_str(), 0) == 0;
    if (!chosen || passed_++ < options_.cutSkip)
        return false;
    if (options_.cut == "after-head") {
        ServerOptions headOnly = options_;
        headOnly.dropAfter = 0;
        serve(headOnly);
        return true;
    }
    if (!BreakConnection(req, options_.cut)) {
        res.status = 500;
        res.set_content("connection not found\n", "text/plain");
    }
    return true;
}
