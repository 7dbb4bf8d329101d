#include "transfer/FormPosting.h"

#include "settings/ControlSettings.h"
#include "transfer/FormPostWire.h"
#include "transfer/FormXmlFile.h"
#include "transfer/UrlEncoder.h"

#include <QFile>
#include <QUrl>
#include <utility>

namespace {

QString FieldNameRefusal(const QString& name) {
    return FormPostText::SendFailed + QStringLiteral(" (필드 이름 '") + EscapeHeadText(name) +
           QStringLiteral("'에 따옴표나 줄바꿈 문자가 있습니다.)");
}

// The checks every send makes, in order; fills the job's target and the page's values.
qint16 FillTarget(FormPostJob& job, const ControlSettings& settings, const FormPostTarget& target) {
    job.server = target.server.isEmpty() ? settings.HttpServerName : target.server;
    job.port = target.port == 0 ? settings.HttpPORT : target.port;
    job.postPath = target.postUrl;
    job.charset = settings.Charset.toUpper();
    job.pageHost = QUrl(settings.hostBaseUrl).host();
    job.cookie = settings.documentCookie;
    if (job.server.isEmpty()) {
        job.setResult(FormPostCode::NoServer, FormPostText::NoServer);
        return FormPostCode::NoServer;
    }
    if (job.port == 0) {
        job.setResult(FormPostCode::NoPort, FormPostText::NoPort);
        return FormPostCode::NoPort;
    }
    if (job.postPath.isEmpty()) {
        job.setResult(FormPostCode::NoPostUrl, FormPostText::NoPostUrl);
        return FormPostCode::NoPostUrl;
    }
    return FormPostCode::Ok;
}

qint16 RefuseName(FormPostJob& job, const QString& name) {
    job.setResult(FormPostCode::SendFailed, FieldNameRefusal(name));
    return FormPostCode::SendFailed;
}

} // namespace

void FormPosting::addFormField(const QString& name, const QString& value, const QString& charset) {
    if (refusedName_.isEmpty() && !IsSafeFieldName(name))
        refusedName_ = name;
    const QString field = name + '=' + UrlEncoder(charset).encode(value);
    formText_ += formText_.isEmpty() ? field : '&' + field;
}

void FormPosting::addXmlField(const QString& name, const QString& value) {
    xmlNames_.append(name);
    xmlValues_.append(value);
}

qint16 FormPosting::takeForm(FormPostJob& job, const ControlSettings& settings,
                             const FormPostTarget& target) {
    job.multipart = false;
    job.formText = std::exchange(formText_, QString());
    const QString refused = std::exchange(refusedName_, QString());
    const qint16 code = FillTarget(job, settings, target);
    if (code != FormPostCode::Ok)
        return code;
    if (!IsSafeFieldName(refused))
        return RefuseName(job, refused);
    return FormPostCode::Ok;
}

qint16 FormPosting::takeXmlForm(FormPostJob& job, const ControlSettings& settings,
                                const FormPostTarget& target, const QString& xmlFileName) {
    job.multipart = true;
    job.fieldNames = std::exchange(xmlNames_, QStringList());
    job.fieldValues = std::exchange(xmlValues_, QStringList());
    const qint16 code = FillTarget(job, settings, target);
    if (code != FormPostCode::Ok)
        return code;
    for (const QString& name : job.fieldNames) {
        if (!IsSafeFieldName(name))
            return RefuseName(job, name);
    }
    const FormXmlFile file =
        WriteFormXml(xmlFileName, job.fieldNames, job.fieldValues, job.charset);
    if (file.path.isEmpty()) {
        job.setResult(FormPostCode::XmlNotWritten, file.failure);
        return FormPostCode::XmlNotWritten;
    }
    job.xmlFilePath = file.path;
    job.xmlFileIsTemporary = file.temporary;
    return FormPostCode::Ok;
}

qint16 FormPosting::finish(FormPostJob& job, ControlSettings& settings) {
    if (job.finished())
        response_ = job.reply();
    if (job.xmlFileIsTemporary)
        QFile::remove(job.xmlFilePath);
    settings.setHttpError(job.resultCode(), job.systemError(), job.resultMessage());
    return job.resultCode();
}
