#include "chrome/TUserAgentToken.h"

#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

namespace
{
bool isStaleToken(const QString& name)
{
    // Earlier releases and the program's predecessors left these behind.
    return name.left(11) == QLatin1String("KoncoBrowse") ||
           name.left(9) == QLatin1String("Quillwave") ||
           name.left(11) == QLatin1String("version.dll");
}

bool isSafeToken(const QString& token)
{
    if (token.isEmpty())
        return false;
    for (const QChar c : token)
    {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == '(' || u == ')' || u == ';')
            return false;
    }
    return true;
}
} // namespace

void TUserAgentToken::UpdateUserAgentToken(RegistryStore& store, bool add)
{
    const QString& key = RegistryKeys::UserAgentPostPlatform;
    if (!store.createKey(key))
        return;
    // One transaction, so that another copy never sees the key half cleaned.
    store.transaction(
        [&]
        {
            const QStringList names = store.valueNames(key);
            for (qsizetype i = names.size() - 1; i >= 0; --i)
            {
                const QString& name = names.at(i);
                if (name.size() >= 9 && isStaleToken(name))
                    store.deleteValue(key, name);
            }
            if (!add)
                return;
            const std::optional<RegValue> current = store.value(key, TokenName);
            if (current && current->type == RegValue::String && !current->text.isEmpty())
                return;
            store.setString(key, TokenName, TokenData);
        });
}

QStringList TUserAgentToken::Tokens(const RegistryStore& store)
{
    return store.valueNames(RegistryKeys::UserAgentPostPlatform);
}

QString TUserAgentToken::UserAgentWithTokens(const QString& baseUserAgent,
                                             const QStringList& tokens)
{
    const qsizetype open = baseUserAgent.indexOf(QLatin1Char('('));
    const qsizetype close = open < 0 ? -1 : baseUserAgent.indexOf(QLatin1Char(')'), open);

    QStringList present;
    if (close >= 0)
        for (const QString& part : baseUserAgent.mid(open + 1, close - open - 1).split(';'))
            present.append(part.trimmed());

    QStringList added;
    for (const QString& raw : tokens)
    {
        const QString token = raw.trimmed();
        if (isSafeToken(token) && !present.contains(token) && !added.contains(token))
            added.append(token);
    }
    if (added.isEmpty())
        return baseUserAgent;

    if (close >= 0)
    {
        const bool emptyGroup = baseUserAgent.mid(open + 1, close - open - 1).trimmed().isEmpty();
        const QString insert =
            (emptyGroup ? QString() : QStringLiteral("; ")) + added.join(QStringLiteral("; "));
        return baseUserAgent.left(close) + insert + baseUserAgent.mid(close);
    }
    // No platform group: one goes after the first product, where it belongs.
    const QString group = QStringLiteral("(") + added.join(QStringLiteral("; ")) + QLatin1Char(')');
    const qsizetype blank = baseUserAgent.indexOf(QLatin1Char(' '));
    if (baseUserAgent.trimmed().isEmpty())
        return group;
    if (blank < 0)
        return baseUserAgent + QLatin1Char(' ') + group;
    return baseUserAgent.left(blank) + QLatin1Char(' ') + group + baseUserAgent.mid(blank);
}
