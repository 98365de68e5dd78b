#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

namespace seikyu {

/// What kind of failure it was: what a caller may do about it differs (another file, another
/// place to write, nothing at all).
enum class FaultKind {
    BadInput,   ///< the bytes are not what they should be: not an invoice, not text, far too large
    NotFound,   ///< the file is not there (any more)
    Unreadable, ///< it is there, but could not be read: no permission, a disk error
    Unwritable, ///< the file could not be written: the disk is full, no permission, no such folder
    Refused,    ///< a rule refuses it: the invoice cannot be an e-invoice, its number is another's
};

/// Why something failed: its kind, the message for the user (already translated) and, for the log
/// or a "details" line, what the system said.
struct Fault
{
    Fault(FaultKind kindOfFault, QString userMessage, QString systemDetail = QString())
        : kind(kindOfFault), message(std::move(userMessage)), detail(std::move(systemDetail))
    {}

    FaultKind kind;
    QString message;
    QString detail;
};

/// A value, or the fault that kept it from being made.
template <class T> class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Fault fault) : m_state(std::in_place_index<1>, std::move(fault)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    /// Only when ok().
    const T &value() const & { return std::get<0>(m_state); }
    T &value() & { return std::get<0>(m_state); }
    /// Moved out by value, so a temporary's value lives as long as what holds it (a range-for over
    /// `f().value()` would otherwise read a destroyed variant).
    T value() && { return std::get<0>(std::move(m_state)); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }
    T operator*() && { return std::move(*this).value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    /// The value, or `fallback` when it failed.
    T value_or(T fallback) const & { return ok() ? value() : std::move(fallback); }
    T value_or(T fallback) && { return ok() ? std::move(*this).value() : std::move(fallback); }

    /// Only when not ok().
    const Fault &fault() const { return std::get<1>(m_state); }
    /// The user's message; empty when it succeeded.
    QString message() const { return ok() ? QString() : fault().message; }
    /// What the system said, for the log; empty when it succeeded.
    QString detail() const { return ok() ? QString() : fault().detail; }

private:
    std::variant<T, Fault> m_state;
};

/// Done, or the fault that kept it from being done.
template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Fault fault) : m_fault(std::move(fault)) {}

    bool ok() const { return !m_fault.has_value(); }
    explicit operator bool() const { return ok(); }

    /// Only when not ok().
    const Fault &fault() const { return m_fault.value(); }
    /// The user's message; empty when it succeeded.
    QString message() const { return m_fault ? m_fault->message : QString(); }
    /// What the system said, for the log; empty when it succeeded.
    QString detail() const { return m_fault ? m_fault->detail : QString(); }

private:
    std::optional<Fault> m_fault;
};

} // namespace seikyu
