#pragma once

#include "transfer/UploadJob.h"

class ChangeJournal;
class Prompter;
class ServerCatalogue;

// Upload texts fixed by the product (the server pages and users know them).
namespace UploadText {
inline const QString Done = QStringLiteral("정상 종료 하였습니다.");
inline const QString ListFailed =
    QStringLiteral("업로드할 파일 리스트 작성중 에러가 발생 하였습니다.");
inline const QString Cancelled = QStringLiteral("사용자가 전송을 취소 하였습니다.");
inline const QString CancelledWhileListing = QStringLiteral("사용자의 의한 전송 취소");
inline const QString NoSession = QStringLiteral("인터넷에 연결 되지 않습니다.");
inline const QString NoConnection = QStringLiteral("서버에 연결할 수 없습니다.");
inline const QString BadTotal = QStringLiteral("업로드할 로컬 파일의 크기를 알수 없습니다.");
inline const QString SendFailed = QStringLiteral("파일을 전송 할 수 없습니다.");
inline const QString EndFailed = QStringLiteral("요청을 종료 할수 없습니다.");
inline const QString ServerPageFailed = QStringLiteral("서버쪽 페이지에서 문제가 발생 하였습니다.");
inline const QString CatalogueUpdateFailed =
    QStringLiteral("업로드 파일 서버경로 변경시 에러가 발생 하였습니다.");
inline const QString NoPostFile = QStringLiteral("POST파일이 없습니다.");
QString NoRequest(const QString& postPath);
QString FileUnreadable(const QString& name);
} // namespace UploadText

inline constexpr int kUploadAttempts = 6; // a file whose request cannot be ended is sent again

// The worker's body: posts every row of `job`, one multipart request per file over one
// kept-alive connection, and stops at the first failure, which becomes the job's result. The
// page's cookie goes only to the page's own host; file bytes go no faster than the job's rate
// limit. Accepted files go into the job; the job is finished as the last act. Touches nothing
// but `job`.
void RunUpload(UploadJob& job);

// UI thread, after the worker has ended: the journal gets an upload record for each accepted
// file, in order; then, only when the run succeeded, every row's catalogue entry becomes a
// server file and the result becomes 0. When any entry cannot be rewritten, all are set back
// to their local values and the result becomes -108. A failed run keeps its result.
void FinishUpload(UploadJob& job, ServerCatalogue& catalogue, ChangeJournal& journal,
                  Prompter& prompter);
