#pragma once

#include "model/DeviceImage.h"
#include "model/ModeFile.h"
#include "model/SettingsDiff.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quilo {

class Language;

// "Compare with file…": every field in which a mode file differs from the current setting,
// with the page it belongs to, before the user decides to load the file. "Load this file"
// closes the window accepted (the caller loads it); it is offered only while a processor is
// connected, as loading needs one.
class SettingsCompareDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 600;
    enum CtrlId { kLoadButton = 1, kCloseButton = 2, kSummary = 1000, kTable = 1001 };
    enum Column { PageColumn, FieldColumn, CurrentColumn, FileColumn };

    SettingsCompareDialog(std::vector<FieldDifference> differences, const QString& fileName,
                          bool canLoad, const Language& language, QWidget* parent = nullptr);

    const std::vector<FieldDifference>& differences() const { return m_differences; }
    QTableWidget& table() { return *m_table; }
    QLabel& summary() { return *m_summary; }
    QPushButton& loadButton() { return *m_load; }

private:
    std::vector<FieldDifference> m_differences;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_load = nullptr;
};

// What loading the mode file at `path` would change in `image`: the file is read over a copy
// of the image's setting, as loading reads it. Nothing when the file cannot be read; `result`
// says why.
std::optional<std::vector<FieldDifference>>
differencesWithFile(const DeviceImage& image, const QString& path, ModeFileResult& result);

// The page's name in a language (0 Chinese, 1 English).
QString settingsPageName(SettingsPage page, int language);

} // namespace quilo
