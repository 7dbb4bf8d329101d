#pragma once

#include "platform/HttpClient.h"
#include "settings/ControlSettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

class Prompter;

inline constexpr qsizetype kErrorPageLimit = 9999; // bytes of a failing reply kept

// Where the last failing reply is kept: ErrorLogFolder()/server_errorlog.htm; empty when the
// folder cannot be made.
QString ErrorPagePath();

// Writes the start of a failing reply (at most 9999 bytes, up to its first NUL, unchanged) as
// the error page, replacing the previous one. False when it could not be written; callers
// carry on regardless.
bool SaveErrorPage(QByteArrayView reply);

// A reply handler that collects the bytes SaveErrorPage keeps, however many pieces they come in.
HttpReplyHandler ErrorPageCollector(QByteArray* page);

// The last HTTP error, as script reads it.
qint16 GetHTTPErrCode(const ControlSettings& settings);
QString GetHTTPErrText(const ControlSettings& settings);
// The secondary error number as signed decimal text ("0" when there is none).
QString GetHTTPMSErrTxt(const ControlSettings& settings);

// Shows the saved error page in a "Preview" window until the user closes it, then deletes it.
void ServerErrorPageView(Prompter& prompter);
