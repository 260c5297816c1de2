#pragma once

#include <QString>
#include <QStringList>

class RegistryStore;

// The program's product token in the engine's user-agent string.
//
// The tokens are the value names under the "Post Platform" key of the store;
// the engine shows them inside the platform parentheses of its user agent.
// The program's own token is present only while it runs: written when the
// main window is created, removed when it is destroyed.
class TUserAgentToken
{
public:
    static inline const QString TokenName = QStringLiteral("Quillwave " QW_VERSION);
    static inline const QString TokenData = QStringLiteral("IEAK");

    // Drops every token of this program (any version) and of its
    // predecessors, then, when add, writes the current one.
    static void UpdateUserAgentToken(RegistryStore& store, bool add);

    // The token names under the key, in the store's order.
    static QStringList Tokens(const RegistryStore& store);

    // baseUserAgent with tokens appended inside its first parentheses
    // ("Mozilla/5.0 (X11; Linux x86_64; Quillwave 6.2.0) AppleWebKit/...").
    // Tokens that could break the header or its structure (control or
    // non-ASCII characters, parentheses, semicolons) and tokens already
    // present are left out.
    static QString UserAgentWithTokens(const QString& baseUserAgent, const QStringList& tokens);
};
