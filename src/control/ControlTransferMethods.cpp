// Script methods of uploads, downloads, attaching, form posting and the last HTTP error.
#include "control/CMxVantrel2Ctrl.h"
#include "control/PaneHostWindow.h"
#include "transfer/HttpStatus.h"
#include "transfer/UrlEncoder.h"

void CMxVantrel2Ctrl::FileAttach() {}

short CMxVantrel2Ctrl::HttpSendAttach(const QString&) {
    return 0;
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

void CMxVantrel2Ctrl::AddLocalFile(const QString&) {}

void CMxVantrel2Ctrl::FolderAttach() {}

void CMxVantrel2Ctrl::ServerErrorPageView() {
    ::ServerErrorPageView(paneHost_->prompter());
}

// The name goes out as the page wrote it; only the value is encoded.
void CMxVantrel2Ctrl::AddPOSTForm(const QString& Formname, const QString& PostData) {
    const QString field = Formname + '=' + UrlEncoder(getCharset()).encode(PostData);
    formText_ += formText_.isEmpty() ? field : '&' + field;
}

short CMxVantrel2Ctrl::SendPOSTForm(const QString&, short, const QString&) {
    formText_.clear();
    return 0;
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
    return 0;
}
