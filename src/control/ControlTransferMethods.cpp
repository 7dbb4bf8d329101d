// Script methods of uploads, downloads, attaching, form posting and the last HTTP error.
#include "common/PaneAccess.h"
#include "control/CMxVantrel2Ctrl.h"
#include "control/PaneHostWindow.h"
#include "panes/server/ServerPaneController.h"
#include "transfer/HttpStatus.h"
#include "transfer/UrlEncoder.h"
#include "transfer/widgets/StartUpload.h"

void CMxVantrel2Ctrl::FileAttach() {
    if (LocalAttachAccess* attach = paneHost_->localAttach())
        attach->fileAttach();
}

short CMxVantrel2Ctrl::HttpSendAttach(const QString& POSTFile) {
    PaneHostWindow& host = *paneHost_;
    const UploadContext context{host.settings(), host.catalogue(), host.journal(),
                                host.uiConfig(), host.prompter(),  &host};
    // Only files queued in this run are sent, never "local" entries a catalogue brought along.
    LocalAttachAccess* attach = host.localAttach();
    const short code = StartUpload(context, POSTFile, [attach](QList<UploadRow>& rows) -> qint16 {
        return attach ? attach->buildUploadRows(rows) : 0;
    });
    // Uploaded entries are server files now; their rows take the server colours at once.
    host.serverPane().refillList();
    return code;
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
    if (LocalAttachAccess* attach = paneHost_->localAttach())
        attach->addLocalFile(localFile);
}

void CMxVantrel2Ctrl::FolderAttach() {
    if (LocalAttachAccess* attach = paneHost_->localAttach())
        attach->folderAttach();
}

void CMxVantrel2Ctrl::ServerErrorPageView() {
    ::ServerErrorPageView(paneHost_->prompter());
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
