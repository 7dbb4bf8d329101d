#pragma once

#include "ServerOptions.h"

#include <filesystem>
#include <httplib.h>

// Answers `req` with the oddity chosen by --quirk when it applies; false to serve normally.
bool ServeQuirk(const std::filesystem::path& root, const httplib::Request& req,
                httplib::Response& res, const ServerOptions& options);
