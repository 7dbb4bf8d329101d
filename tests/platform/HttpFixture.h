#pragma once

#include "platform/HttpClient.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A served folder with a few files and a log path; curl is set up by the test main.
class HttpFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid() && m_work.isValid());
        // Proxies from the environment would take loopback requests elsewhere.
        for (const char* name :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
    }

    QString root() const { return m_root.path(); }
    QString logPath() const { return m_work.path() + "/requests.jsonl"; }
    QString workPath(const QString& name) const { return m_work.path() + "/" + name; }

    QByteArray writeFile(const QString& name, qsizetype size) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& c : bytes)
            c = static_cast<char>(QRandomGenerator::global()->bounded(256));
        writeFile(name, bytes);
        return bytes;
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(m_root.path() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private:
    QTemporaryDir m_root, m_work;
};

// Collects everything a request delivers.
struct Reply {
    int headStatus = 0;
    qint64 headLength = -2;
    int headCalls = 0;
    int pieces = 0;
    QByteArray body;
    bool bodyBeforeHead = false;

    HttpReplyHandler handler() {
        HttpReplyHandler h;
        h.onHead = [this](int status, qint64 length) {
            ++headCalls;
            headStatus = status;
            headLength = length;
            return true;
        };
        h.onBody = [this](QByteArrayView piece) {
            bodyBeforeHead = bodyBeforeHead || headCalls == 0;
            ++pieces;
            body += piece;
            return true;
        };
        return h;
    }
};
