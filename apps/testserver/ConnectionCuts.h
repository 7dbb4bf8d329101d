#pragma once

#include "ServerOptions.h"

#include <atomic>
#include <functional>
#include <httplib.h>
#include <string_view>

// Breaks the connection of chosen replies on purpose (--cut, --cut-path, --cut-skip), so
// clients meet a peer that vanishes before, inside or right after a reply head.
// Writes `bytes` as they are on the connection `req` came in on and closes it under the
// server library, so a reply can break the protocol in ways the library never would. False
// when the connection was not found.
bool SendRawAndClose(const httplib::Request& req, std::string_view bytes);

class ConnectionCuts {
public:
    explicit ConnectionCuts(const ServerOptions& options) : options_(options) {}

    // Serves `req` with its connection broken when it is one of the chosen requests; true
    // then. `serve` sets the normal reply from the options it is given: "after-head" serves
    // through it with every body byte dropped. False: serve as usual.
    bool cut(const httplib::Request& req, httplib::Response& res,
             const std::function<void(const ServerOptions&)>& serve);

private:
    const ServerOptions& options_;
    std::atomic<int> passed_{0};
};
