// Script methods of uploads, downloads, attaching, form posting and the last HTTP error.
#include "face/CMxVantrel2Ctrl.h"
#include "panes/server/AddCodes.h"
#include "session/ControlSession.h"
#include "transfer/HttpStatus.h"

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
    if (!session_->pageMayUse(PagePathUse::QueueForUpload, localFile)) {
        addfileError(AddCode::NotAllowed, localFile);
        return;
    }
    session_->attach().addLocalFile(localFile);
}

void CMxVantrel2Ctrl::FolderAttach() {
    session_->attach().folderAttach();
}

void CMxVantrel2Ctrl::ServerErrorPageView() {
    ::ServerErrorPageView(session_->prompter());
}

void CMxVantrel2Ctrl::AddPOSTForm(const QString& Formname, const QString& PostData) {
    session_->addPostFormField(Formname, PostData);
}

// The port is the page's 16-bit number read as unsigned, as HttpPORT is.
short CMxVantrel2Ctrl::SendPOSTForm(const QString& SeverName, short HttpPORT,
                                    const QString& PostUrl) {
    return session_->sendPostForm({SeverName, static_cast<quint16>(HttpPORT), PostUrl});
}

void CMxVantrel2Ctrl::AddPOSTFormXml(const QString& Formname, const QString& PostData) {
    session_->addPostXmlField(Formname, PostData);
}

QString CMxVantrel2Ctrl::GetPostResponseData() {
    return session_->postResponse();
}

short CMxVantrel2Ctrl::SendPOSTFormXmlFile(const QString& SeverName, short HttpPORT,
                                           const QString& PostUrl, const QString& XmlFilename) {
    return session_->sendPostXmlForm({SeverName, static_cast<quint16>(HttpPORT), PostUrl},
                                     XmlFilename);
}
