#include "pages/EqImportTexts.h"

#include "model/EqFilterText.h"

namespace quilo::eqsection {

namespace {

QString number(double v) {
    return QString::number(v, 'g', 10);
}

QString quoted(const std::string& word) {
    return QStringLiteral("“%1”").arg(QString::fromStdString(word));
}

QString chineseText(const EqTextMessage& m) {
    const QString at = m.line > 0 ? QStringLiteral("第%1行：").arg(m.line) : QString();
    switch (m.issue) {
    case EqTextIssue::GainChanged:
        return at + QStringLiteral("增益 %1 dB 改为 %2 dB（频段增益为 -15 至 +15 dB，步进 0.1 dB）")
                        .arg(number(m.given), QString::number(m.stored, 'f', 1));
    case EqTextIssue::GainIgnored:
        return at + QStringLiteral("低通或高通滤波器没有增益；%1 dB 未采用").arg(number(m.given));
    case EqTextIssue::FrequencyChanged:
        return at + QStringLiteral("频率 %1 Hz 改为 %2 Hz（频段频率为 20 至 20000 Hz 的整数）")
                        .arg(number(m.given), number(m.stored));
    case EqTextIssue::QChanged:
        return at + QStringLiteral("Q值 %1 改为 %2（参量滤波器 Q 为 0.1 至 30，其他为 0.1 至 2）")
                        .arg(number(m.given), QString::fromStdString(formatQ(m.stored)));
    case EqTextIssue::PreampNotApplied:
        return at + (m.hasValue ? QStringLiteral("前级增益 %1 dB 未采用").arg(number(m.given))
                                : QStringLiteral("前级增益未采用"));
    case EqTextIssue::NotOnOrOff:
        return at + QStringLiteral("滤波器须为 ON 或 OFF") +
               (m.word.empty() ? QString() : QStringLiteral("，而不是") + quoted(m.word));
    case EqTextIssue::UnsupportedType:
        if (m.word.empty()) {
            return at + QStringLiteral("滤波器没有类型");
        }
        return at + QStringLiteral("机器不支持类型为%1的滤波器（支持 PK、LP、HP、LS 和 HS）")
                        .arg(quoted(m.word));
    case EqTextIssue::ShelfBySlope:
        return at + QStringLiteral("机器不支持以斜率给出的架式滤波器（%1）；请给出Q值")
                        .arg(quoted(m.word));
    case EqTextIssue::MissingValue:
        return at + QStringLiteral("滤波器缺少 %1 值").arg(QString::fromStdString(m.word));
    case EqTextIssue::BadNumber:
        return at + QStringLiteral("%1不是数字（小数须用小数点）").arg(quoted(m.word));
    case EqTextIssue::UnknownWord:
        return at + QStringLiteral("%1不属于滤波器行").arg(quoted(m.word));
    case EqTextIssue::NoFilters:
        return QStringLiteral(
            "文本中没有滤波器行（“Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00”）");
    case EqTextIssue::TooManyFilters:
        return QStringLiteral("%1 个滤波器放不下：此均衡最多 %2 个")
            .arg(number(m.given), number(m.stored));
    }
    return {};
}

} // namespace

QString messageText(const EqTextMessage& message, int language) {
    if (language == kEnglish) {
        return QString::fromStdString(englishText(message));
    }
    return chineseText(message);
}

QString refusalText(const EqTextMessage& refusal, int language) {
    return messageText(refusal, language) + QStringLiteral("\n\n") + kNothingChanged.pick(language);
}

QString warningsText(const std::vector<EqTextMessage>& warnings, int language) {
    QString text = kImportedWithNotes.pick(language);
    for (const EqTextMessage& w : warnings) {
        text += QStringLiteral("\n") + messageText(w, language);
    }
    return text;
}

} // namespace quilo::eqsection
