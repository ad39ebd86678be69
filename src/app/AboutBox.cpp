#include "app/AboutBox.h"

#include "app/AppIcons.h"
#include "model/DeviceImage.h"
#include "ui/DialogLook.h"
#include "ui/Texts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {

namespace {
QString qs(const std::u16string& s) {
    return QString::fromStdU16String(s);
}
} // namespace

AboutBox::AboutBox(QWidget* parent, int language, const DeviceInfo* info, bool connected, bool peak,
                   std::function<void(bool)> setPeak)
    : QDialog(parent) {
    setProperty("templateId", kTemplateId);
    setWindowTitle(language == kEnglish ? QStringLiteral("About QUILO")
                                        : QStringLiteral("关于 QUILO"));
    applyDialogLook(this);
    setFont(latinFont(13));

    auto* icon = new QLabel(this);
    icon->setPixmap(appIcon(AppIcon::Application).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* name = new QLabel(QStringLiteral("QUILO v1.3.4"), this);
    name->setFont(latinFont(16, 600));
    auto* date = new QLabel(QStringLiteral("Build Date:2015-09-08"), this);

    m_model = new QLabel(this);
    m_model->setProperty("ctrlId", 1005);
    m_mcu = new QLabel(this);
    m_mcu->setProperty("ctrlId", 1007);
    m_dsp = new QLabel(this);
    m_dsp->setProperty("ctrlId", 1006);
    m_peak = new QCheckBox(QStringLiteral("Peak"), this);
    m_peak->setProperty("ctrlId", 1045);
    m_peak->setChecked(peak);
    connect(m_peak, &QCheckBox::toggled, this, [setPeak](bool on) {
        if (setPeak) {
            setPeak(on);
        }
    });

    if (connected && info != nullptr) {
        m_model->setText(QStringLiteral("Module:%1").arg(qs(info->modelName)));
        m_mcu->setText(QStringLiteral("MCU Ver:%1 CMD Ver:%2")
                           .arg(qs(info->firmwareDateA))
                           .arg(info->protocolVersion, 2, 10, QLatin1Char('0')));
        m_dsp->setText(QStringLiteral("DSP Ver:%1").arg(qs(info->firmwareDateB)));
    }
    m_mcu->setVisible(connected);
    m_dsp->setVisible(connected);
    m_model->setVisible(false);
    m_peak->setVisible(false);

    auto* ok = new QPushButton(text::kOk.pick(language), this);
    ok->setProperty("ctrlId", 1);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(4);
    lines->addWidget(name);
    lines->addWidget(date);
    lines->addWidget(m_model);
    lines->addWidget(m_mcu);
    lines->addWidget(m_dsp);
    lines->addWidget(m_peak);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon);
    top->addLayout(lines, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(340);
}

void AboutBox::keyReleaseEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (event->key() == Qt::Key_F11 && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        m_model->setVisible(!m_model->text().isEmpty());
        m_peak->setVisible(true);
        adjustSize();
    }
    QDialog::keyReleaseEvent(event);
}

} // namespace quilo
