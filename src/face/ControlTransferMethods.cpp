// Script methods of uploads, downloads, attaching, form posting and the last HTTP error.
#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"
#include "transfer/HttpStatus.h"
#include "transfer/UrlEncoder.h"

void CMxVantrel2Ctrl::FileAttach() {
    session_->attach().fileAttach();
}

short CMxVantrel2Ctrl::HttpSendAttach(const QString& POSTFile) {
    return session_->upload(POSTFile);
}

short CMxVantrel2Ctrl::GetHTTPErrCode() {
    return ::GetHTTPErrCode(settings());
}

QString CMxVantrel2Ctrl::GetHTTPErrText() {
    return ::GetHTTPErrText(settings());
}

QString CMxVantrel2Ctrl::GetHTTPMSErrTxt() {
    return ::GetHTTPMSErrTxt(settings());
}

bool CMxVantrel2Ctrl::IsDownFileCheck() {
    return true;
}

void CMxVantrel2Ctrl::AddLocalFile(const QString& localFile) {
    session_->attach().addLocalFile(localFile);
}

void CMxVantrel2Ctrl::FolderAttach() {
    session_->attach().folderAttach();
}

void CMxVantrel2Ctrl::ServerErrorPageView() {
    ::ServerErrorPageView(session_->prompter());
}

// The name goes out as the page wrote it; only the value is encoded.
void CMxVantrel2Ctrl::AddPOSTForm(const QString& Formname, const QString& PostData) {
    const QString field = Formname + '=' + UrlEncoder(getCharset()).encode(PostData);
    formText_ += formText_.isEmpty() ? field : '&' + field;
}

// Form posting has no engine yet: nothing is sent, and the page is told so rather than
// handed a success.
short CMxVantrel2Ctrl::reportFormNotSent() {
    static constexpr short kFormNotSent = -2103;
    settings().setHttpError(kFormNotSent, 0, QStringLiteral("Form 데이타를 전송 할 수 없습니다."));
    return kFormNotSent;
}

short CMxVantrel2Ctrl::SendPOSTForm(const QString&, short, const QString&) {
    formText_.clear();
    return reportFormNotSent();
}

void CMxVantrel2Ctrl::AddPOSTFormXml(const QString& Formname, const QString& PostData) {
    xmlFieldNames_.append(Formname);
    xmlFieldValues_.append(PostData);
}

QString CMxVantrel2Ctrl::GetPostResponseData() {
    return postResponse_;
}

short CMxVantrel2Ctrl::SendPOSTFormXmlFile(const QString&, short, const QString&, const QString&) {
    xmlFieldNames_.clear();
    xmlFieldValues_.clear();
    return reportFormNotSent();
}
