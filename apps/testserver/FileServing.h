#pragma once

#include "ServerOptions.h"

#include <filesystem>
#include <httplib.h>
#include <string>

enum class Lookup { Found, Missing, Outside };

// Finds `requestPath` (already percent-decoded) under `root` (canonical). Any ".." step, and
// any symlink whose target lies outside `root`, gives Outside; a missing or non-regular file
// gives Missing.
Lookup FindUnderRoot(const std::filesystem::path& root, const std::string& requestPath,
                     std::filesystem::path& found);

// Answers a GET for `requestPath` from the files under `root` (canonical).
void ServeFile(const std::filesystem::path& root, const httplib::Request& req,
               httplib::Response& res, const ServerOptions& options);

// Answers with the --status code; the body is the requested file when there is one.
void ServeStatusOverride(const std::filesystem::path& root, const httplib::Request& req,
                         httplib::Response& res, const ServerOptions& options);
