#include "app/SettingsCompareDialog.h"

#include "model/FieldLabels.h"
#include "ui/BandTypeNames.h"
#include "ui/Language.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>

namespace quilo {

namespace {

constexpr BiText kColumns[4] = {
    {"页面", "Page"}, {"参数", "Field"}, {"当前设置", "Current setting"}, {"文件", "File"}};
constexpr BiText kSame{"当前设置与文件“%1”完全相同。",
                       "The current setting and the file “%1” are the same."};
constexpr BiText kDiffer{"载入文件“%1”将改变以下 %2 项参数：",
                         "Loading the file “%1” changes these %2 fields:"};
constexpr BiText kLoad{"载入此文件", "Load this file"};
constexpr BiText kTitle{"与文件比较", "Compare with file"};

// A band record "gain,freq,q,type" as a person reads it; other values with their unit or
// on/off word.
QString readableValue(const FieldDifference& d, const std::string& value, int language) {
    if (d.name.rfind("band[", 0) != 0) {
        return QString::fromStdString(fieldValueText(d.name, value, language));
    }
    const QStringList parts = QString::fromStdString(value).split(QLatin1Char(','));
    bool ok[4] = {};
    if (parts.size() != 4) {
        return QString::fromStdString(value);
    }
    const double gain = parts[0].toDouble(&ok[0]);
    const double freq = parts[1].toDouble(&ok[1]);
    const double q = parts[2].toDouble(&ok[2]);
    const int type = parts[3].toInt(&ok[3]);
    if (!(ok[0] && ok[1] && ok[2] && ok[3])) {
        return QString::fromStdString(value);
    }
    return QStringLiteral("%1  %2 dB  %3 Hz  Q %4")
        .arg(bandTypeName(type, language))
        .arg(gain, 0, 'f', 1)
        .arg(freq, 0, 'f', 0)
        .arg(q, 0, 'f', 3);
}

std::unique_ptr<DeviceImage> copyOfSetting(const DeviceImage& image) {
    auto copy = std::make_unique<DeviceImage>();
    copy->resetToDefaults();
    applyModeContent(captureModeContent(image), *copy);
    return copy;
}

} // namespace

QString settingsPageName(SettingsPage page, int language) {
    static constexpr const char* kChinese[] = {"主控制",   "音乐与话筒",    "效果均衡",
                                               "输出",     "输入源",        "特色功能",
                                               "房间布局", "（不在页面上）"};
    if (language == kEnglish) {
        return QString::fromUtf8(englishPageName(page).data(),
                                 qsizetype(englishPageName(page).size()));
    }
    return QString::fromUtf8(kChinese[static_cast<int>(page)]);
}

std::optional<std::vector<FieldDifference>>
differencesWithFile(const DeviceImage& image, const QString& path, ModeFileResult& result) {
    const auto current = copyOfSetting(image);
    const auto loaded = copyOfSetting(image);
    result = readModeFile(QFile::encodeName(path).toStdString(), *loaded);
    if (!result.ok()) {
        return std::nullopt;
    }
    return settingsDifferences(*current, *loaded);
}

SettingsCompareDialog::SettingsCompareDialog(std::vector<FieldDifference> differences,
                                             const QString& fileName, bool canLoad,
                                             const Language& language, QWidget* parent)
    : QDialog(parent), m_differences(std::move(differences)) {
    const int lang = language.index();
    setProperty("templateId", kTemplateId);
    setWindowTitle(kTitle.pick(lang));

    const QString shownName = QFileInfo(fileName).fileName();
    m_summary = new QLabel(m_differences.empty()
                               ? kSame.pick(lang).arg(shownName)
                               : kDiffer.pick(lang).arg(shownName).arg(m_differences.size()),
                           this);
    m_summary->setProperty("ctrlId", kSummary);
    m_summary->setWordWrap(true);

    m_table = new QTableWidget(int(m_differences.size()), 4, this);
    m_table->setProperty("ctrlId", kTable);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    QStringList headers;
    for (const BiText& c : kColumns) {
        headers << c.pick(lang);
    }
    m_table->setHorizontalHeaderLabels(headers);
    for (int row = 0; row < int(m_differences.size()); ++row) {
        const FieldDifference& d = m_differences[std::size_t(row)];
        const QString cells[4] = {
            settingsPageName(d.page, lang), QString::fromStdString(fieldLabel(d.name, lang)),
            readableValue(d, d.before, lang), readableValue(d, d.after, lang)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // The code name, as quiloctl diff prints it, for whoever needs the exact field.
            item->setToolTip(QString::fromStdString(d.name));
            m_table->setItem(row, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setVisible(!m_differences.empty());

    auto* buttons = new QDialogButtonBox(this);
    m_load = buttons->addButton(kLoad.pick(lang), QDialogButtonBox::AcceptRole);
    m_load->setProperty("ctrlId", kLoadButton);
    m_load->setEnabled(canLoad && !m_differences.empty());
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setProperty("ctrlId", kCloseButton);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);

    language.applyTable(this, kTemplateId);
    resize(720, m_differences.empty() ? 140 : 480);
}

} // namespace quilo
