#pragma once

#include <QString>
#include <QStringList>

class RegistryStore;

// The addresses the user typed, most recent first, at most MaxCount. Kept
// in the store under the engine's typed-address key as "url1" (the most
// recent) to "urlN", without gaps.
class TypedUrlList
{
public:
    static constexpr int MaxCount = 25;

    const QStringList& Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.isEmpty(); }
    void Clear() { m_items.clear(); }
    // Replaces the list, keeping at most MaxCount entries.
    void SetItems(const QStringList& items);

    // An address the user typed: an entry equal to it without regard to case
    // moves to the top unchanged, else the address goes in at the top; the
    // oldest beyond MaxCount goes.
    void Record(const QString& address);

    // The entries "url1", "url2", ... of the typed-address key up to the
    // first missing, empty or non-text value, or MaxCount. A missing key or
    // store gives an empty list.
    void Load(const RegistryStore& store, int maximum = MaxCount);
    // Replaces the key's values by the list, all at once: another copy never
    // sees half a list. False when the store refused.
    bool Save(RegistryStore& store) const;

    static QString ValueName(int position) { return QStringLiteral("url%1").arg(position); }

private:
    QStringList m_items;
};
