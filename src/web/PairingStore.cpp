#include "web/PairingStore.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <chrono>

namespace quilo {

namespace {

constexpr qint64 kMinuteMs = 60 * 1000;
constexpr int kTokenBytes = 32;

qint64 steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Compares without stopping at the first difference.
bool sameText(const QString& a, const QString& b) {
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    if (x.size() != y.size()) {
        return false;
    }
    unsigned char diff = 0;
    for (qsizetype i = 0; i < x.size(); ++i) {
        diff |= static_cast<unsigned char>(x[i] ^ y[i]);
    }
    return diff == 0;
}

} // namespace

PairingStore::PairingStore(Clock clock) : m_clock(clock ? std::move(clock) : Clock(steadyMs)) {}

QString PairingStore::newCode() {
    const quint32 n = QRandomGenerator::system()->bounded(1000000U);
    m_code = QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
    m_codeIssued = now();
    m_codeFailures = 0;
    return m_code;
}

QString PairingStore::code() const {
    return codeMsLeft() > 0 ? m_code : QString();
}

qint64 PairingStore::codeMsLeft() const {
    if (m_code.isEmpty()) {
        return 0;
    }
    return std::max<qint64>(0, m_codeIssued + kCodeLifeMs - now());
}

bool PairingStore::rateLimited() {
    const qint64 t = now();
    std::erase_if(m_recentFailures, [t](qint64 at) { return t - at >= kMinuteMs; });
    return static_cast<int>(m_recentFailures.size()) >= kFailuresPerMinute;
}

PairingStore::Outcome PairingStore::pair(const QString& code, const QString& name,
                                         const QDateTime& at) {
    if (rateLimited()) {
        return {Result::TooManyTries, {}, {}};
    }
    const QString valid = this->code();
    if (valid.isEmpty() || !sameText(valid, code)) {
        m_recentFailures.push_back(now());
        if (!valid.isEmpty() && ++m_codeFailures >= kFailuresBeforeVoid) {
            m_code.clear();
        }
        return {Result::WrongCode, {}, {}};
    }
    m_code.clear(); // once only
    std::array<quint32, kTokenBytes / 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray raw(reinterpret_cast<const char*>(words.data()), kTokenBytes);
    const QString token = QString::fromLatin1(raw.toHex());
    PairedPhone phone{uniqueName(cleanName(name)), hashToken(token), at};
    m_phones.append(phone);
    return {Result::Paired, token, phone.name};
}

std::optional<QString> PairingStore::phoneOf(const QString& token, const QDateTime& at) {
    if (token.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray hash = hashToken(token);
    for (PairedPhone& phone : m_phones) {
        if (phone.tokenHash == hash) {
            phone.lastUse = at;
            return phone.name;
        }
    }
    return std::nullopt;
}

bool PairingStore::revoke(const QString& name) {
    return m_phones.removeIf([&](const PairedPhone& p) { return p.name == name; }) > 0;
}

QByteArray PairingStore::hashToken(const QString& token) {
    return QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256);
}

QString PairingStore::cleanName(const QString& name) {
    QString out;
    for (const QChar c : name) {
        // Tabs and line breaks part words; other control characters go.
        if (c.isSpace()) {
            out.append(QLatin1Char(' '));
        } else if (!c.isNonCharacter() && c.category() != QChar::Other_Control) {
            out.append(c);
        }
    }
    out = out.simplified().left(kNameMaxLength);
    if (out.size() == kNameMaxLength && out.back().isHighSurrogate()) {
        out.chop(1);
    }
    return out.isEmpty() ? QStringLiteral("Phone") : out;
}

QString PairingStore::uniqueName(const QString& name) const {
    const auto taken = [this](const QString& n) {
        return std::any_of(m_phones.begin(), m_phones.end(),
                           [&](const PairedPhone& p) { return p.name == n; });
    };
    QString candidate = name;
    for (int n = 2; taken(candidate); ++n) {
        candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
    }
    return candidate;
}

} // namespace quilo
