#pragma once

#include <QByteArray>
#include <QString>

// The marker a partial download keeps beside its file: a hidden ".NAME.vantrel-partial" in
// the same folder holding the validators of the reply the part came from. Its presence says
// the file is incomplete; a resume sends them back in If-Range, so a file that changed on the
// server comes back whole instead of being spliced onto the old part. The marker goes when
// the file is complete.

// The validators of one reply, as its head gave them.
struct PartialValidators {
    QByteArray entityTag;    // ETag, empty when absent
    QByteArray lastModified; // Last-Modified, empty when absent

    // The If-Range value naming the same version: a strong entity tag, else the date; empty
    // when neither can serve.
    QByteArray ifRange() const;
    bool operator==(const PartialValidators&) const = default;
};

// Where the marker of `target` lies.
QString PartialMarkerPath(const QString& target);
// The validators kept beside `target`; false, leaving `validators` empty, when there is no
// marker or it is not a small regular file.
bool ReadPartialMarker(const QString& target, PartialValidators& validators);
// Writes (replaces) the marker of `target`; false when it cannot be written. A validator
// holding a control character is left out.
bool WritePartialMarker(const QString& target, const PartialValidators& validators);
// Removes the marker of `target`, never what a link there points at.
void RemovePartialMarker(const QString& target);
