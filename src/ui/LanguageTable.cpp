#include "ui/LanguageTable.h"

#include "ui/LanguageIni.h"
#include "ui/Resources.h"
#include "ui/Texts.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace quilo {

QString LanguageTable::resourcePath(int language) {
    return language == kEnglish ? QStringLiteral(":/lang/en.ini")
                                : QStringLiteral(":/lang/zh_CN.ini");
}

bool LanguageTable::load(int language) {
    ensureResources();
    QFile file(resourcePath(language));
    if (!file.open(QIODevice::ReadOnly)) {
        m_entries.clear();
        m_loaded = false;
        return false;
    }
    return loadFromBytes(file.readAll());
}

bool LanguageTable::loadFromBytes(const QByteArray& ini) {
    m_entries.clear();
    for (const LanguageEntry& e : parseLanguageIni(std::string_view(ini.constData(), ini.size()))) {
        const QString key =
            QString::fromUtf8(e.key.data(), static_cast<qsizetype>(e.key.size())).toUpper();
        if (!m_entries.contains(key)) {
            m_entries.insert(
                key, QString::fromUtf8(e.text.data(), static_cast<qsizetype>(e.text.size())));
        }
    }
    m_loaded = true;
    return true;
}

QString LanguageTable::lookup(const QString& key) const {
    return m_entries.value(key.toUpper());
}

QString LanguageTable::title(int templateId) const {
    return lookup(QStringLiteral("IDD%1_title").arg(templateId));
}

QString LanguageTable::text(int templateId, int ctrlId) const {
    return lookup(QStringLiteral("IDD%1_%2").arg(templateId).arg(ctrlId));
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (control->metaObject()->indexOfProperty("text") >= 0) {
        control->setProperty("text", text);
    }
}

namespace {

void applyToChildren(const LanguageTable& table, QWidget* parent, int templateId) {
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || w->isWindow() || w->property("templateId").isValid()) {
            continue; // separate windows and nested templates label themselves
        }
        const QVariant id = w->property("ctrlId");
        if (id.isValid()) {
            const QString text = table.text(templateId, id.toInt());
            if (!text.isEmpty()) {
                setControlText(w, text);
            }
        }
        applyToChildren(table, w, templateId);
    }
}

} // namespace

void LanguageTable::applyTable(QWidget* window, int templateId) const {
    if (window == nullptr || !m_loaded) {
        return;
    }
    const QString t = title(templateId);
    if (!t.isEmpty()) {
        window->setWindowTitle(t);
    }
    applyToChildren(*this, window, templateId);
}

} // namespace quilo
