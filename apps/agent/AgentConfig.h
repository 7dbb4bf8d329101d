#pragma once

#include "OriginRules.h"

#include <QString>

inline constexpr quint16 kDefaultAgentPort = 47810;

// The agent's settings file, an INI file the user may edit:
//
//   [agent]
//   port=47810
//   [origins]
//   allowed=https://example.org, http://localhost:8080
//   trusted=https://example.org
//   refused=https://other.example
//
// `allowed` origins connect without a question, `trusted` ones also use local paths they name
// without one, `refused` ones are turned away without one. Every read goes to the file, so an
// edit (a revoked origin, say) holds from the next connection on. A file that cannot be read
// answers the defaults; a failed write is silent.
class AgentConfig {
public:
    // `file` empty: nothing is read or written.
    explicit AgentConfig(QString file);
    // $XDG_CONFIG_HOME/Morvex/VantrelAgent.conf; empty when no settings folder can be named.
    static QString defaultFile();

    const QString& file() const { return file_; }
    // The configured port, or kDefaultAgentPort when none or an unusable one is set.
    quint16 port() const;
    OriginLists origins() const;
    // Records the user's answer for `origin`: on the allowed list, or on the refused list.
    void remember(const QString& origin, bool allowed) const;

private:
    QString file_;
};
