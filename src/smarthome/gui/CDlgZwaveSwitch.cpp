#include "smarthome/gui/CDlgZwaveSwitch.h"

#include "smarthome/PlugRecord.h"
#include "smarthome/gui/PlugOperation.h"
#include "smarthome/gui/SmartHomeArt.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"
#include "widgets/CGdipButton.h"

#include <QGridLayout>
#include <QLabel>

namespace quilo {

CDlgZwaveSwitch::CDlgZwaveSwitch(PageContext& context, PlugOperation& operation, QWidget* parent)
    : QDialog(parent), m_context(context), m_operation(operation) {
    setProperty("templateId", kTemplateId);
    applyDialogLook(this);
    setFont(cjkFont(13));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(28, 20, 28, 16);
    layout->setHorizontalSpacing(36);
    const struct {
        bool on;
        int button;
        int label;
        const char* text;
    } faces[] = {{true, kOn, kOnLabel, "开"}, {false, kOff, kOffLabel, "关"}};
    int column = 0;
    for (const auto& f : faces) {
        auto* button = new CGdipButton(this);
        button->setProperty("ctrlId", f.button);
        button->setImages(switchFace(f.on));
        button->setFixedSize(72, 72);
        auto* label = new QLabel(QString::fromUtf8(f.text), this);
        label->setProperty("ctrlId", f.label);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(button, 0, column, Qt::AlignCenter);
        layout->addWidget(label, 1, column, Qt::AlignCenter);
        ++column;
        const bool on = f.on;
        connect(button, &QAbstractButton::clicked, this, [this, on] { send(on); });
    }
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

void CDlgZwaveSwitch::setPlug(int id, const QString& name) {
    m_id = id;
    m_name = name;
    applyLanguage();
}

void CDlgZwaveSwitch::applyLanguage() {
    m_context.applyTable(this, kTemplateId);
    setWindowTitle(hometext::kSwitchCaption.pick(m_context.language()) + m_name);
}

void CDlgZwaveSwitch::send(bool on) {
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(m_context.language()));
        return;
    }
    m_operation.start(QString::fromUtf8(on ? hometext::kSwitchOn : hometext::kSwitchOff),
                      PlugOperation::kPlugCommand, PlugOperation::kQuickAnswerMs, m_id,
                      on ? kPlugOnSwitch : kPlugOff);
}

} // namespace quilo
