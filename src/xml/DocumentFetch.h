#pragma once

#include <QString>
#include <QtGlobal>
#include <chrono>
#include <optional>

struct ControlSettings;

// `location` as written when it carries an http:// or https:// scheme (any letter case);
// otherwise `hostBaseUrl` followed by `location` exactly as written (no separator added).
QString ResolveLocation(const QString& location, const QString& hostBaseUrl);

// A fresh temporary document file "_<r>_<t>[<i>].xml" in the Data folder, already created
// (empty, exclusively), so no two callers ever share one; the caller deletes it. Empty when
// no such file can be made.
QString MakeTempPath();

// The longest a document fetch may take, whatever the server's pace: the fetch holds the UI
// thread. Tests shorten it through the environment variable below (milliseconds).
inline constexpr std::chrono::seconds kDocumentFetchDeadline{60};
inline constexpr char kDocumentDeadlineVariable[] = "VANTREL_DOCUMENT_DEADLINE_MS";

// Fetches the document named by `location` (resolved against the page) into a new temporary
// file, sending the page cookie to the page's own host. The body may not exceed
// kMaxDocumentBytes (checked as it arrives) and the fetch may not outlast the deadline.
// Returns FetchToFile's code (-3 when no temporary file can be made); on 0 `*tempPath` names
// the file, on any failure no file is left behind.
qint16 FetchDocument(const QString& location, const ControlSettings& settings, QString* tempPath);

// What one document's load reports for each way its fetch can fail.
struct FetchFailureCodes {
    qint16 badStatus;    // status other than 200
    qint16 noSession;    // session could not be opened
    qint16 noAddress;    // address could not be opened
    qint16 cannotCreate; // temporary file not created
    qint16 writeFailed;  // write to the temporary file failed
    qint16 otherFailure; // any other failure (cut body, too large, too slow, ...)
};

// FetchDocument for a load: nothing when `*tempPath` names the fetched file, otherwise the
// load's code from `codes`. For a document too large or too slow, which those codes do not
// tell apart from other failures, the error triple is also set to that code with a text
// saying which limit ended it.
std::optional<qint16> FetchForLoad(const QString& location, ControlSettings& settings,
                                   const FetchFailureCodes& codes, QString* tempPath);
