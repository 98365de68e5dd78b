#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// The honorific last confirmed with each customer (御中 for a company, 様 for a person), kept in
/// the user's settings beside the customer list, which itself stays as it always was.
namespace CustomerHonorifics {

/// The settings list that holds them, one "<honorific>\t<customer>" entry per customer.
inline const QString ListKey = QStringLiteral("whomHonorifics");

/// The honorific of the stored entries for the customer; nothing when none was confirmed (or the
/// entry is damaged).
std::optional<QString> honorificIn(const QStringList &entries, const QString &customer);
/// The stored entries with the customer's honorific set; entries of customers no longer in
/// `customers` are dropped, so the list never outgrows the customer list.
QStringList withHonorific(const QStringList &entries, const QString &customer, const QString &honorific,
                          const QStringList &customers);

/// The honorific last confirmed with the customer, read from the settings.
std::optional<QString> honorificOf(const QString &customer);
/// Records in the settings that the customer was confirmed with the honorific.
void remember(const QString &customer, const QString &honorific);
/// Carries the honorific of a customer whose list entry was edited over to its new text.
void rename(const QString &from, const QString &to);

} // namespace CustomerHonorifics

} // namespace seikyu
