#include "smarthome/gui/CDlgZwaveLight.h"

#include "smarthome/gui/PlugOperation.h"
#include "smarthome/gui/PlugPageControls.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"
#include "widgets/CXBmpSlider.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

CDlgZwaveLight::CDlgZwaveLight(PageContext& context, PlugOperation& operation, QWidget* parent)
    : QDialog(parent), m_context(context), m_operation(operation) {
    setProperty("templateId", kTemplateId);
    applyDialogLook(this);
    setFont(cjkFont(13));

    auto* warning = tagControl(new QGroupBox(QStringLiteral("警告"), this), kWarning);
    auto* line1 = tagControl(
        new QLabel(QStringLiteral("某些设备无法工作在低电压状态，可能损坏设备"), warning),
        kWarningLine1);
    m_line2 = tagControl(new QLabel(QStringLiteral("请您确保此插座上的设备允许调节电压"), warning),
                         kWarningLine2);
    for (QLabel* l : {line1, m_line2}) {
        l->setWordWrap(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
        l->setPalette(pal);
    }
    auto* warningLayout = new QVBoxLayout(warning);
    warningLayout->addWidget(line1);
    warningLayout->addWidget(m_line2);

    auto* hint =
        tagControl(new QLabel(QStringLiteral("提示：松开滑动条后设置灯光亮度"), this), kHint);
    auto* label = tagControl(new QLabel(QStringLiteral("电压:"), this), kLevelLabel);
    m_level = tagControl(new QLabel(this), kLevelText);
    m_level->setMinimumWidth(48);
    m_slider = tagControl(new CXBmpSlider(this), kSlider);
    m_slider->usePageStyle();
    m_slider->setRange(kMaxLevel, 0);
    m_slider->setMinimumWidth(260);
    m_slider->setFixedHeight(28);

    auto* down = tagControl(new QPushButton(QStringLiteral("<"), this), kDown);
    auto* up = tagControl(new QPushButton(QStringLiteral(">"), this), kUp);
    auto* off = tagControl(new QPushButton(QStringLiteral("关"), this), kOff);
    auto* max = tagControl(new QPushButton(QStringLiteral("最大"), this), kMax);
    for (QPushButton* b : {down, up}) {
        b->setFixedWidth(32);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 14);
    grid->addWidget(warning, 0, 0, 1, 4);
    grid->addWidget(hint, 1, 0, 1, 4);
    grid->addWidget(label, 2, 0);
    grid->addWidget(m_level, 2, 1);
    grid->addWidget(down, 3, 0);
    grid->addWidget(m_slider, 3, 1, 1, 2);
    grid->addWidget(up, 3, 3);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(off);
    row->addWidget(max);
    grid->addLayout(row, 4, 0, 1, 4);
    setMinimumWidth(400);

    connect(m_slider, &CXBmpSlider::sliderChanged, this, [this](int, int pos) { showLevel(pos); });
    connect(m_slider, &CXBmpSlider::sliderReleased, this, [this](int, int pos) { apply(pos); });
    const auto step = [this](int delta) {
        if (!m_context.connected()) {
            m_context.notice(text::kPleaseConnect.pick(m_context.language()));
            return;
        }
        apply(std::clamp(m_slider->position() + delta, 0, kMaxLevel));
    };
    connect(down, &QPushButton::clicked, this, [step] { step(-1); });
    connect(up, &QPushButton::clicked, this, [step] { step(+1); });
    connect(off, &QPushButton::clicked, this, [this] { apply(0); });
    connect(max, &QPushButton::clicked, this, [this] { apply(kMaxLevel); });
}

QString CDlgZwaveLight::levelText(int level) {
    if (level == 0) {
        return QString::fromUtf8(hometext::kLevelOff);
    }
    if (level == kMaxLevel) {
        return QString::fromUtf8(hometext::kLevelMax);
    }
    return QStringLiteral("%1%").arg(level);
}

void CDlgZwaveLight::setPlug(int id, const QString& name, int startLevel) {
    m_id = id;
    m_name = name;
    if (!m_placed) {
        m_placed = true;
        m_slider->setPosition(std::clamp(startLevel, 0, kMaxLevel));
    }
    showLevel(m_slider->position());
    applyLanguage();
}

int CDlgZwaveLight::level() const {
    return m_slider->position();
}

QString CDlgZwaveLight::levelText() const {
    return m_level->text();
}

void CDlgZwaveLight::applyLanguage() {
    m_context.applyTable(this, kTemplateId);
    // The second warning line has no English form: it is left out then.
    if (m_context.text(kTemplateId, kWarningLine2).isEmpty()) {
        m_line2->clear();
    }
    m_line2->setVisible(!m_line2->text().isEmpty());
    setWindowTitle(hometext::kDimmerCaption.pick(m_context.language()) + m_name);
}

void CDlgZwaveLight::showLevel(int level) {
    m_level->setText(levelText(level));
}

void CDlgZwaveLight::apply(int level) {
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(m_context.language()));
        return;
    }
    m_slider->setPosition(level);
    showLevel(level);
    m_operation.start(QString::fromUtf8(hometext::kSetting), PlugOperation::kPlugCommand,
                      PlugOperation::kQuickAnswerMs, m_id, level);
}

} // namespace quilo
