#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace quilo {

// A phone paired with the owner: the name it gave, the SHA-256 of its token (the
// token itself is never kept) and when it was last used.
struct PairedPhone {
    QString name;
    QByteArray tokenHash; // 32 bytes
    QDateTime lastUse;
    bool operator==(const PairedPhone&) const = default;
};

// The pairing rules of the phone remote: one 6-digit code at a time, valid five
// minutes and void after ten wrong tries; more than five wrong codes in a minute
// (from all phones together) are refused until that minute is over. A right code
// gives a random 256-bit token once, and the code is used up.
class PairingStore {
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<qint64()>;
    static constexpr qint64 kCodeLifeMs = 5 * 60 * 1000;
    static constexpr int kFailuresPerMinute = 5;
    static constexpr int kFailuresBeforeVoid = 10;
    static constexpr int kNameMaxLength = 40;

    explicit PairingStore(Clock clock = {});

    // A fresh code (the last one is void), "000000"-"999999".
    QString newCode();
    // The code that is valid now; empty when there is none.
    QString code() const;
    qint64 codeMsLeft() const;

    enum class Result { Paired, WrongCode, TooManyTries };
    struct Outcome {
        Result result = Result::WrongCode;
        QString token; // 64 hex digits, with Paired
        QString name;  // the name the phone is listed under, with Paired
    };
    Outcome pair(const QString& code, const QString& name, const QDateTime& now);

    // The phone the token belongs to (its last use set to `now`); nothing for an
    // unknown token.
    std::optional<QString> phoneOf(const QString& token, const QDateTime& now);
    bool revoke(const QString& name);

    const QList<PairedPhone>& phones() const { return m_phones; }
    void setPhones(const QList<PairedPhone>& phones) { m_phones = phones; }

    static QByteArray hashToken(const QString& token);
    // Spaces simplified, control characters dropped, at most kNameMaxLength;
    // "Phone" when empty.
    static QString cleanName(const QString& name);

private:
    qint64 now() const { return m_clock(); }
    bool rateLimited();
    QString uniqueName(const QString& name) const;

    Clock m_clock;
    QString m_code;
    qint64 m_codeIssued = 0;
    int m_codeFailures = 0;
    std::vector<qint64> m_recentFailures; // times of the wrong codes in the last minute
    QList<PairedPhone> m_phones;
};

} // namespace quilo
