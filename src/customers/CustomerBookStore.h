#pragma once

#include "customers/Customer.h"
#include "sections/ListStore.h"

namespace seikyu {

/// Tells every customer list of the process that the customer book changed: the invoice windows'
/// customer panels and the Customers window follow one another.
class CustomerBookNews : public QObject
{
    Q_OBJECT

public:
    static CustomerBookNews &instance();
    /// `origin` made the change (it need not follow itself); none when no one in particular.
    void announce(const ListChange &change, const QObject *origin = nullptr);

signals:
    void changed(const seikyu::ListChange &change, const QObject *origin);

private:
    CustomerBookNews() = default;
};

/// The customer panel's list: the customers of the book, by reading and then name, each known by
/// its identity in the book, so that renaming keeps its address, terms and everything else.
class CustomerBookStore : public ListStore
{
    Q_OBJECT

public:
    /// The book at `path`; its usual place when empty.
    explicit CustomerBookStore(const QString &path = QString(), QObject *parent = nullptr);

    std::optional<QList<ListEntry>> entries() const override;
    QList<ListEntry> search(const QString &typed) const override;
    bool searchable() const override { return true; }
    Result<qint64> add(const QString &text) override;
    Result<void> remove(qint64 key) override;
    Result<void> rename(qint64 key, const QString &text) override;
    Result<qint64> findOrAdd(const QString &text) override;
    qint64 follow(qint64 key, const QString &text, const ListChange &change) const override;

    /// The customer of the key as the book holds it now; nothing when it is gone or the book
    /// cannot be read.
    std::optional<Customer> customer(qint64 key) const;
    /// Stores the customer (found by its identity) as given.
    Result<void> update(const Customer &customer);
    /// The honorific new customers of the panel get (0 御中, 1 様).
    void setHonorificForNew(int honorific) { m_honorificForNew = honorific; }

private:
    QString m_path;
    int m_honorificForNew = 0;
};

} // namespace seikyu
