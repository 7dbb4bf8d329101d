#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The command line of vantrel-agent.
struct AgentOptions {
    bool offscreen = false;
    int port = -1;              // -1: the configured port; 0: any free port
    QStringList allowedOrigins; // --allow-origin, as given
    // --answer KIND=VALUE, in order: offscreen answers to the control's prompts and to the
    // agent's own "path" questions.
    QList<QPair<QString, QString>> answers;
    bool helpRequested = false;
};

// Parses the arguments after the program name. Returns false with `error` set to a one-line
// message when an option is unknown, lacks its value or has a malformed one.
bool ParseAgentOptions(const QStringList& args, AgentOptions& options, QString& error);

// The text of --help.
QString AgentUsage();
