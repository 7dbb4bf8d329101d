// The session's form posts: the page's fields and the posts through the post window.
#include "session/ControlSession.h"
#include "transfer/FormPostEngine.h"

void ControlSession::addPostFormField(const QString& name, const QString& value) {
    posting_.addFormField(name, value, settings_.Charset.toUpper());
}

void ControlSession::addPostXmlField(const QString& name, const QString& value) {
    posting_.addXmlField(name, value);
}

short ControlSession::sendPostForm(const FormPostTarget& target) {
    FormPostJob job;
    if (posting_.takeForm(job, settings_, target) == FormPostCode::Ok)
        runPost(job);
    return posting_.finish(job, settings_);
}

short ControlSession::sendPostXmlForm(const FormPostTarget& target, const QString& xmlFileName) {
    FormPostJob job;
    if (posting_.takeXmlForm(job, settings_, target, xmlFileName) == FormPostCode::Ok)
        runPost(job);
    return posting_.finish(job, settings_);
}

void ControlSession::runPost(FormPostJob& job) {
    if (windows_.post)
        windows_.post(job);
    else
        RunFormPost(job);
}
