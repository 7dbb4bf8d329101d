#include "transfer/widgets/StartUpload.h"

#include "common/Prompter.h"
#include "settings/ControlSettings.h"
#include "transfer/RateLimiter.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadRows.h"
#include "transfer/widgets/UploadWindow.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"

#include <QUrl>

namespace {

void FillJob(UploadJob& job, const ControlSettings& settings, const QString& postPath) {
    job.charset = settings.Charset.toUpper();
    job.server = settings.HttpServerName;
    job.port = settings.HttpPORT;
    job.postPath = postPath;
    job.pageHost = QUrl(settings.hostBaseUrl).host();
    job.cookie = settings.documentCookie;
    job.dateFormat = settings.dateFormat;
    job.cancelButtonEnabled = settings.HttpSendingCancelBut;
    job.rateLimit = RateFromKBps(settings.UpRateLimitKBps);
}

// The rows, or the result that ends the upload before it starts.
qint16 BuildRows(const UploadContext& context, const UploadRowSource& rowSource, UploadJob& job) {
    QList<UploadRow> rows;
    const qint16 code = rowSource ? rowSource(rows) : UploadCode::Ok;
    if (!rowSource)
        rows = CollectUploadRows(context.catalogue);
    if (code == UploadCode::Cancelled)
        job.setResult(code, UploadText::CancelledWhileListing, 0);
    else if (code == UploadCode::ListFailed)
        job.setResult(code, UploadText::ListFailed, 0);
    else if (code != UploadCode::Ok)
        job.setResult(code, QString(), 0);
    for (const UploadRow& row : rows)
        job.addRow(row);
    return code;
}

} // namespace

short StartUpload(const UploadContext& context, const QString& postFile,
                  const UploadRowSource& rowSource) {
    const QString postPath = postFile.isEmpty() ? context.settings.UploadPOSTFile : postFile;
    if (postPath.isEmpty()) {
        context.prompter.message(QString(), UploadText::NoPostFile);
        return 0;
    }
    UploadJob job;
    FillJob(job, context.settings, postPath);
    if (BuildRows(context, rowSource, job) == UploadCode::Ok) {
        context.journal.ClearList(JournalList::Upload);
        UploadWindow window(job, context.uiConfig, context.parent);
        window.exec();
        FinishUpload(job, context.catalogue, context.journal, context.prompter);
    }
    context.settings.setHttpError(job.resultCode(), job.systemError(), job.resultMessage());
    return job.resultCode();
}
