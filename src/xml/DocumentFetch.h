#pragma once

#include <QString>
#include <QtGlobal>

struct ControlSettings;

// `location` as written when it carries an http:// or https:// scheme (any letter case);
// otherwise `hostBaseUrl` followed by `location` exactly as written (no separator added).
QString ResolveLocation(const QString& location, const QString& hostBaseUrl);

// A fresh temporary document file "_<r>_<t>[<i>].xml" in the Data folder, already created
// (empty, exclusively), so no two callers ever share one; the caller deletes it. Empty when
// no such file can be made.
QString MakeTempPath();

// Fetches the document named by `location` (resolved against the page) into a new temporary
// file, sending the page cookie to the page's own host. Returns FetchToFile's code (-3 when
// no temporary file can be made); on 0 `*tempPath` names the file, on any failure no file is
// left behind.
qint16 FetchDocument(const QString& location, const ControlSettings& settings, QString* tempPath);
