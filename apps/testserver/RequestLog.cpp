#include "RequestLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QJsonObject Headers(const httplib::Request& req) {
    QJsonObject headers;
    for (const auto& [name, value] : req.headers) {
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
            name == "LOCAL_PORT")
            continue; // the library's own entries, not sent by the client
        // Names as sent keep their letter case; repeats are joined as HTTP allows.
        const QString key = Text(name);
        const QString previous = headers.value(key).toString();
        headers.insert(key, headers.contains(key) ? previous + ", " + Text(value) : Text(value));
    }
    return headers;
}

std::vector<LoggedPart> Parts(const httplib::Request& req) {
    std::vector<LoggedPart> parts;
    for (const auto& [name, part] : req.files)
        parts.push_back(
            {part.name, part.filename, part.content.size(),
             part.filename.empty() ? part.content.substr(0, kLoggedValueLimit) : std::string()});
    return parts;
}

QJsonArray PartsJson(const std::vector<LoggedPart>& parts) {
    QJsonArray json;
    for (const LoggedPart& part : parts) {
        QJsonObject entry{{"name", Text(part.name)},
                          {"filename", Text(part.filename)},
                          {"length", static_cast<qint64>(part.length)}};
        if (part.filename.empty())
            entry.insert("value", Text(part.value));
        json.append(entry);
    }
    return json;
}

} // namespace

bool RequestLog::open(const std::string& path) {
    m_clock.start();
    if (path.empty())
        return true;
    m_file.open(path, std::ios::app | std::ios::binary);
    return m_file.is_open();
}

void RequestLog::write(const httplib::Request& req, std::uint64_t bodyLength) {
    write(req, bodyLength, Parts(req));
}

void RequestLog::write(const httplib::Request& req, std::uint64_t bodyLength,
                       const std::vector<LoggedPart>& parts) {
    if (!m_file.is_open())
        return;
    const std::size_t question = req.target.find('?');
    QJsonObject line{
        {"method", Text(req.method)},
        {"path", Text(req.path)},
        {"query",
         question == std::string::npos ? QString() : Text(req.target.substr(question + 1))},
        {"headers", Headers(req)},
        {"body_length", static_cast<qint64>(bodyLength)},
        {"remote_port", req.remote_port},
        {"at_ms", m_clock.elapsed()},
    };
    if (req.is_multipart_form_data())
        line.insert("parts", PartsJson(parts));
    const QByteArray json = QJsonDocument(line).toJson(QJsonDocument::Compact);
    std::lock_guard lock(m_mutex);
    m_file.write(json.constData(), json.size()).put('\n').flush();
}
