#pragma once

#include "transfer/FormPostJob.h"

#include <QString>
#include <QStringList>

struct ControlSettings;

// Where a page asked a post to go, as it gave it.
struct FormPostTarget {
    QString server;   // empty: HttpServerName
    quint16 port = 0; // 0: HttpPORT
    QString postUrl;  // the server script
};

// The fields a page gathers for its next post and the reply of the last post that ran. A
// send takes the fields it would send whatever comes of it, so a failed send leaves nothing
// behind for the next one. UI thread only.
class FormPosting {
public:
    // Appends "name=value" (joined by "&") with the value URL-encoded in `charset`; the name
    // goes as written.
    void addFormField(const QString& name, const QString& value, const QString& charset);
    void addXmlField(const QString& name, const QString& value);
    const QString& formText() const { return formText_; }

    // Takes the URL-encoded fields into `job` with the target and the page's values from
    // `settings`. Returns 0 when the job may run, otherwise the code that refuses it, which is
    // also the job's result.
    qint16 takeForm(FormPostJob& job, const ControlSettings& settings,
                    const FormPostTarget& target);
    // The same for the XML fields, and writes their XML document (see WriteFormXml) as the
    // file the job sends.
    qint16 takeXmlForm(FormPostJob& job, const ControlSettings& settings,
                       const FormPostTarget& target, const QString& xmlFileName);

    // After the job ran or was refused: the error triple takes its result, the reply of a job
    // that ran becomes the response, and a generated XML file is removed. Returns the code.
    qint16 finish(FormPostJob& job, ControlSettings& settings);
    const QString& response() const { return response_; }

private:
    QString formText_;
    QString refusedName_; // the first URL-encoded field name a send must refuse
    QStringList xmlNames_, xmlValues_;
    QString response_;
};
