#pragma once

#include <QString>

// What page script wants to do with a local path it named itself, rather than one the user
// picked in a dialog or a drag.
enum class PagePathUse {
    QueueForUpload, // AddLocalFile
    Delete,         // DeleteLocalFile
    DownloadInto,   // DownPathFix: downloads are written there without asking
    OpenFolder,     // SetLocalGoFolder
};

// Decides whether page script may use a local path it named. A host that serves pages it does
// not fully trust installs one on the session; without one every path is allowed, as for the
// embedding page. It may ask the user, so a call can run a nested event loop; the caller holds
// no node, row or item across it. UI thread only.
class PagePathGate {
public:
    virtual ~PagePathGate() = default;
    virtual bool allows(PagePathUse use, const QString& path) = 0;
};
