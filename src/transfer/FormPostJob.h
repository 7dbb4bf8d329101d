#pragma once

#include "transfer/TransferJob.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <mutex>

// Result codes of a form post.
namespace FormPostCode {
inline constexpr qint16 Ok = 0;
inline constexpr qint16 NoSession = -100;
inline constexpr qint16 NoConnection = -101;
inline constexpr qint16 EndFailed = -106;
inline constexpr qint16 ServerPageFailed = -107;
inline constexpr qint16 NoServer = -2100;
inline constexpr qint16 NoPort = -2101;
inline constexpr qint16 NoRequest = -2102;
inline constexpr qint16 SendFailed = -2103;
inline constexpr qint16 NoPostUrl = -2104;
inline constexpr qint16 XmlNotWritten = -2105;
inline constexpr qint16 XmlUnreadable = -2106;
} // namespace FormPostCode

// Texts of a form post fixed by the product (pages show them).
namespace FormPostText {
inline const QString Done = QStringLiteral("POST 완료");
inline const QString NoSession = QStringLiteral("인터넷에 연결 되지 않습니다.");
inline const QString NoConnection = QStringLiteral("서버에 연결할 수 없습니다.");
inline const QString EndFailed = QStringLiteral("요청을 종료 할수 없습니다.");
inline const QString ServerPageFailed = QStringLiteral("서버쪽 페이지에서 문제가 발생 하였습니다.");
inline const QString NoServer = QStringLiteral("서버 도메인을 지정 하지 않았습니다.");
inline const QString NoPort = QStringLiteral("서버 PORT를 지정 하지 않았습니다.");
inline const QString SendFailed = QStringLiteral("Form 데이타를 전송 할 수 없습니다.");
inline const QString NoPostUrl = QStringLiteral("POST 파일을 지정 하지 않았습니다.");
inline const QString XmlNotWritten = QStringLiteral("POST 하기전 temp xml을 생성 할 수 없습니다.");
inline const QString XmlUnreadable = QStringLiteral("Content XML 파일을 열수 없습니다.");
QString NoRequest(const QString& postPath);
} // namespace FormPostText

// One post, URL-encoded or multipart with an XML file. Everything the worker needs is copied
// in on the UI thread before it starts; the worker writes the progress, the reply and the
// result and ends with finish(). A job refused before it ran is never finished.
class FormPostJob : public TransferJob {
public:
    // --- Copied in before the worker starts; read-only afterwards.
    bool multipart = false;
    QString server;
    quint16 port = 0;
    QString postPath;                    // the server script, with its query if any
    QString charset;                     // upper-cased Charset
    QString pageHost;                    // the page's host: the only one the cookie goes to
    QString cookie;                      // the page's cookie text
    QString formText;                    // URL-encoded mode: the body
    QStringList fieldNames, fieldValues; // multipart mode: the fields before the file
    QString xmlFilePath;                 // multipart mode: the XML document sent as the file
    bool xmlFileIsTemporary = false;     // removed once the post is over

    // The server's answer to a successful post, decoded and trimmed.
    void setReply(const QString& reply);
    QString reply() const;

private:
    mutable std::mutex replyLock_;
    QString reply_;
};
