#pragma once

#include "ui/LanguageTable.h"

#include <QObject>

namespace quilo {

// The program's language index (0 Chinese, 1 English) and the table of dialog
// texts that goes with it. Windows relabel when it changes.
class Language : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    int index() const { return m_index; }
    // Makes `language` current (anything but English is Chinese), loads its table
    // and tells everyone, also when it was current already.
    void set(int language);

    const LanguageTable& table() const { return m_table; }
    // The table's text of control `ctrlId` of template `templateId`, empty when none.
    QString text(int templateId, int ctrlId) const { return m_table.text(templateId, ctrlId); }
    // Labels a window from the table (nothing when the table could not be loaded).
    void applyTable(QWidget* window, int templateId) const {
        m_table.applyTable(window, templateId);
    }

signals:
    void changed(int language);

private:
    int m_index = 0;
    LanguageTable m_table;
};

} // namespace quilo
