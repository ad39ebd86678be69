#include "room/gui/CSSVCDlg.h"

#include "model/OutputDelay.h"
#include "pages/LocationNames.h"
#include "pages/OutputChannelRow.h"
#include "pages/OutputChannelText.h"
#include "room/RoomText.h"
#include "room/TimeAlignment.h"
#include "room/gui/CSSVolumePanel.h"
#include "ui/BiText.h"
#include "ui/ControlTag.h"
#include "ui/PageContext.h"
#include "ui/WheelForwarder.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/SpinButtons.h"
#include "widgets/WidgetFonts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

namespace {

constexpr BiText kDistanceHeader{"距离", "Distance"};
constexpr BiText kArrivalHeader{"到达时差", "Arrival"};
constexpr BiText kArrivalTip{"与最远音箱相比，声音提前到达听众的时间（毫秒，负数为提前）",
                             "When its sound reaches the listener compared with the farthest "
                             "loudspeaker (ms; negative is sooner)"};
constexpr BiText kAlign{"对齐延时", "Align delays"};
constexpr BiText kAlignTip{"按距离设置各输出通道的延时，使所有音箱的声音同时到达听众",
                           "Sets each output's delay from the distances so that every "
                           "loudspeaker's sound reaches the listener together"};
constexpr BiText kAligned{"延时已对齐", "Delays aligned"};
constexpr BiText kNotDriven{"—", "—"};

constexpr int kEditWidth = 64;
constexpr int kLevelMax = 200;
constexpr int kLevelMaxWide = 800; // outputs 5 and 6

QString qText(const std::string& s) {
    return QString::fromStdString(s);
}

QWidget* editWithSpin(QWidget* parent, QLineEdit*& edit, SpinButtons*& spin, int editId,
                      int spinId) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    edit = new QLineEdit(box);
    edit->setFixedWidth(kEditWidth);
    tagControl(edit, editId);
    spin = new SpinButtons(box);
    spin->setFixedHeight(edit->sizeHint().height());
    spin->setBuddy(edit);
    tagControl(spin, spinId);
    row->addWidget(edit);
    row->addWidget(spin);
    return box;
}

} // namespace

CSSVCDlg::CSSVCDlg(PageContext& context, QWidget* parent)
    : Page(parent), m_context(context), m_editor(context.image(), context.sink()) {
    setFont(songFont(12));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 8);
    root->setSpacing(8);
    m_row = new OutputChannelRow(context, PageKind::RoomLayout, this);
    root->addWidget(m_row);
    auto* body = new QHBoxLayout();
    body->setSpacing(10);
    root->addLayout(body, 1);

    body->addWidget(buildPositions());
    m_plan = new CSSVolumePanel(this);
    m_plan->setMinimumSize(260, 260);
    connect(m_plan, &CSSVolumePanel::entryPicked, this, &CSSVCDlg::placedOnPlan);
    connect(m_plan, &CSSVolumePanel::entryDragged, this, &CSSVCDlg::placedOnPlan);
    body->addWidget(m_plan, 1);
    body->addWidget(buildLevels());

    m_wheel = new WheelForwarder(*this);
    for (CXBmpSlider* s : m_levels) {
        m_wheel->addTarget(s);
    }
    // A wheel steps a focused room or position box as its spin buttons do.
    for (QLineEdit* e : {m_width, m_length}) {
        m_wheel->addTarget(e);
    }
    for (const EntryControls& c : m_entries) {
        m_wheel->addTarget(c.x);
        m_wheel->addTarget(c.y);
    }
    // The saved Locate box is ticked again without sending anything.
    const int locate = context.pageState().locateChannel;
    if (locate >= 1 && locate <= 8) {
        m_locate[static_cast<std::size_t>(locate - 1)]->setChecked(true);
    }
    applyLanguage(context.language());
}

QWidget* CSSVCDlg::buildPositions() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* room = new QGroupBox(QStringLiteral("Room"), column);
    tagControl(room, 1005);
    auto* roomRow = new QHBoxLayout(room);
    roomRow->setContentsMargins(8, 6, 8, 6);
    auto* widthLabel = new QLabel(QStringLiteral("Width"), room);
    tagControl(widthLabel, 1007);
    auto* lengthLabel = new QLabel(QStringLiteral("Length"), room);
    tagControl(lengthLabel, 1229);
    auto* modify = new QPushButton(QStringLiteral("Modify"), room);
    tagControl(modify, kModify);
    connect(modify, &QPushButton::clicked, this, &CSSVCDlg::applyRoomSize);
    roomRow->addWidget(widthLabel);
    roomRow->addWidget(editWithSpin(room, m_width, m_widthSpin, kWidthEdit, kWidthSpin));
    roomRow->addSpacing(6);
    roomRow->addWidget(lengthLabel);
    roomRow->addWidget(editWithSpin(room, m_length, m_lengthSpin, kLengthEdit, kLengthSpin));
    roomRow->addStretch(1);
    roomRow->addWidget(modify);
    for (SpinButtons* s : {m_widthSpin, m_lengthSpin}) {
        s->setRange(kMinRoomSizeM, kMaxRoomSizeM);
    }
    connect(m_widthSpin, &SpinButtons::stepped, this, [this](int d) { stepRoomSize(true, d); });
    connect(m_lengthSpin, &SpinButtons::stepped, this, [this](int d) { stepRoomSize(false, d); });
    layout->addWidget(room);

    auto* positions = new QGroupBox(QStringLiteral("Position"), column);
    tagControl(positions, 1006);
    auto* grid = new QGridLayout(positions);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("X"), positions), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Y"), positions), 0, 2, Qt::AlignCenter);
    m_distanceHeader = new QLabel(positions);
    m_arrivalHeader = new QLabel(positions);
    grid->addWidget(m_distanceHeader, 0, 3, Qt::AlignRight);
    grid->addWidget(m_arrivalHeader, 0, 4, Qt::AlignRight);
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        EntryControls& c = m_entries[static_cast<std::size_t>(entry)];
        const int k = entry - 1;
        auto* label = new QLabel(positions);
        tagControl(label, entry == 0 ? 1139 : kSpeakerLabelIds[static_cast<std::size_t>(k)]);
        const int xId = entry == 0 ? kListenerX : kFirstSpeakerX + 2 * k;
        const int yId = entry == 0 ? kListenerY : kFirstSpeakerX + 2 * k + 1;
        const int xSpinId = entry == 0 ? kListenerXSpin : kFirstSpeakerXSpin + 2 * k;
        const int ySpinId = entry == 0 ? kListenerYSpin : kFirstSpeakerXSpin + 2 * k + 1;
        grid->addWidget(label, entry + 1, 0);
        grid->addWidget(editWithSpin(positions, c.x, c.xSpin, xId, xSpinId), entry + 1, 1);
        grid->addWidget(editWithSpin(positions, c.y, c.ySpin, yId, ySpinId), entry + 1, 2);
        for (QLineEdit* e : {c.x, c.y}) {
            connect(e, &QLineEdit::returnPressed, this,
                    [this, entry] { editPosition(entry, true); });
        }
        connect(c.xSpin, &SpinButtons::stepped, this,
                [this, entry](int d) { stepPosition(entry, true, d); });
        connect(c.ySpin, &SpinButtons::stepped, this,
                [this, entry](int d) { stepPosition(entry, false, d); });
        if (entry > 0) {
            auto* distance = new QLabel(positions);
            auto* arrival = new QLabel(positions);
            distance->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            arrival->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            distance->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("14.14m")));
            arrival->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-41.2ms")));
            grid->addWidget(distance, entry + 1, 3);
            grid->addWidget(arrival, entry + 1, 4);
            m_distance[static_cast<std::size_t>(k)] = distance;
            m_arrival[static_cast<std::size_t>(k)] = arrival;
        }
    }
    layout->addWidget(positions);

    auto* buttons = new QHBoxLayout();
    auto* centre = new QPushButton(QStringLiteral("Center"), column);
    tagControl(centre, kCenter);
    connect(centre, &QPushButton::clicked, this, &CSSVCDlg::center);
    auto* reset = new QPushButton(QStringLiteral("Reset"), column);
    tagControl(reset, kReset);
    connect(reset, &QPushButton::clicked, this, &CSSVCDlg::reset);
    m_align = new QPushButton(column);
    connect(m_align, &QPushButton::clicked, this, &CSSVCDlg::alignDelays);
    buttons->addWidget(centre);
    buttons->addWidget(reset);
    buttons->addStretch(1);
    buttons->addWidget(m_align);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return column;
}

QWidget* CSSVCDlg::buildLevels() {
    auto* group = new QGroupBox(QStringLiteral("Level"), this);
    tagControl(group, 1002);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int ch = 0; ch < 8; ++ch) {
        const auto i = static_cast<std::size_t>(ch);
        auto* name = new QLabel(group);
        auto* label = new QLabel(group);
        tagControl(label, kFirstLevelLabel + ch);
        auto* locate = new QCheckBox(QStringLiteral("Locate"), group);
        tagControl(locate, kLocateIds[i]);
        connect(locate, &QCheckBox::clicked, this,
                [this, ch](bool ticked) { onLocate(ch, ticked); });
        auto* slider = new CXBmpSlider(group);
        slider->usePageStyle();
        slider->setFixedSize(150, 23);
        tagControl(slider, kFirstLevel + ch);
        slider->setRange(ch == 4 || ch == 5 ? kLevelMaxWide : kLevelMax, 0);
        connect(slider, &CXBmpSlider::sliderChanged, this,
                [this, ch](int, int position) { onLevel(ch, position); });
        auto* text = new QLabel(group);
        tagControl(text, kFirstLevelText + ch);
        text->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("800%")) + 4);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* nameRow = new QHBoxLayout();
        nameRow->setSpacing(4);
        nameRow->addWidget(name);
        nameRow->addWidget(label, 1);
        nameRow->addWidget(locate);
        grid->addLayout(nameRow, 2 * ch, 0, 1, 2);
        grid->addWidget(slider, 2 * ch + 1, 0);
        grid->addWidget(text, 2 * ch + 1, 1);
        m_levels[i] = slider;
        m_levelNames[i] = name;
        m_levelLabels[i] = label;
        m_levelTexts[i] = text;
        m_locate[i] = locate;
    }
    grid->setRowStretch(16, 1);
    return group;
}

void CSSVCDlg::applyLanguage(int language) {
    m_language = language;
    m_distanceHeader->setText(kDistanceHeader.pick(language));
    m_arrivalHeader->setText(kArrivalHeader.pick(language));
    m_arrivalHeader->setToolTip(kArrivalTip.pick(language));
    m_align->setText(kAlign.pick(language));
    m_align->setToolTip(kAlignTip.pick(language));
    showLevelLabels();
}

void CSSVCDlg::showLevelLabels() {
    const DspParams& p = m_context.image().params;
    for (int ch = 0; ch < 8; ++ch) {
        const std::int32_t code = p.outLocation[ch];
        const QString name =
            code >= 0 && code < 8 ? kLocationNames[code].pick(m_language) : QString::number(code);
        m_levelNames[static_cast<std::size_t>(ch)]->setText(outputChannelName(ch, m_language));
        m_levelLabels[static_cast<std::size_t>(ch)]->setText(QStringLiteral("(%1)").arg(name));
    }
}

void CSSVCDlg::refreshFromImage() {
    m_editor.reload();
    const RoomLayout& layout = m_editor.layout();
    m_plan->setLayout(layout);
    showRoomSize();
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        showPosition(entry, layout.position(entry), true);
    }
    const DspParams& p = m_context.image().params;
    for (int ch = 0; ch < 8; ++ch) {
        const auto i = static_cast<std::size_t>(ch);
        m_levels[i]->setPosition(p.outLevel[ch]);
        m_levelTexts[i]->setText(QStringLiteral("%1%").arg(m_levels[i]->position()));
    }
    showLevelLabels();
    showArrivals();
}

void CSSVCDlg::showRoomSize() {
    const RoomLayout& layout = m_editor.layout();
    m_width->setText(qText(roomSizeText(layout.roomWidth)));
    m_length->setText(qText(roomSizeText(layout.roomLength)));
    m_widthSpin->setPosition(layout.roomWidth);
    m_lengthSpin->setPosition(layout.roomLength);
    const int xLimit = positionSpinLimit(layout.roomWidth);
    const int yLimit = positionSpinLimit(layout.roomLength);
    for (EntryControls& c : m_entries) {
        c.xSpin->setRange(-xLimit, xLimit);
        c.ySpin->setRange(-yLimit, yLimit);
    }
}

void CSSVCDlg::showPosition(int entry, RoomPoint metres, bool setSpins) {
    EntryControls& c = m_entries[static_cast<std::size_t>(entry)];
    c.x->setText(qText(positionText(metres.x)));
    c.y->setText(qText(positionText(metres.y)));
    if (setSpins) {
        c.xSpin->setPosition(positionSpinValue(metres.x));
        c.ySpin->setPosition(positionSpinValue(metres.y));
    }
}

void CSSVCDlg::showArrivals() {
    const TimeAlignment a =
        quilo::alignDelays(m_editor.layout(), std::span(m_context.image().params.outLocation));
    for (std::size_t k = 0; k < a.speakers.size(); ++k) {
        const SpeakerArrival& s = a.speakers[k];
        m_distance[k]->setText(QString::asprintf("%.2fm", static_cast<double>(s.distanceM)));
        m_arrival[k]->setText(
            s.aheadMs ? QString::asprintf("%.1fms", *s.aheadMs > 0.0 ? -*s.aheadMs : 0.0)
                      : kNotDriven.pick(m_language));
    }
}

void CSSVCDlg::editPosition(int entry, bool setSpins) {
    EntryControls& c = m_entries[static_cast<std::size_t>(entry)];
    const double x = readPositionText(c.x->text().toStdString());
    const double y = readPositionText(c.y->text().toStdString());
    const RoomPoint stored = m_editor.editPosition(entry, x, y);
    showPosition(entry, stored, setSpins);
    m_plan->setPosition(entry, stored);
    showArrivals();
}

void CSSVCDlg::stepPosition(int entry, bool xAxis, int delta) {
    EntryControls& c = m_entries[static_cast<std::size_t>(entry)];
    SpinButtons& spin = xAxis ? *c.xSpin : *c.ySpin;
    spin.setPosition(spin.position() + delta);
    (xAxis ? c.x : c.y)->setText(qText(positionText(spin.position() / 10.0)));
    editPosition(entry, false);
}

void CSSVCDlg::stepRoomSize(bool widthAxis, int delta) {
    SpinButtons& spin = widthAxis ? *m_widthSpin : *m_lengthSpin;
    spin.setPosition(spin.position() + delta);
    (widthAxis ? m_width : m_length)->setText(qText(roomSizeText(spin.position())));
    applyRoomSize();
}

void CSSVCDlg::applyRoomSize() {
    m_editor.setRoomSize(readRoomSizeText(m_width->text().toStdString()),
                         readRoomSizeText(m_length->text().toStdString()));
    const RoomLayout& layout = m_editor.layout();
    m_plan->setRoomSize(layout.roomWidth, layout.roomLength);
    showRoomSize();
}

void CSSVCDlg::placedOnPlan(int entry, RoomPoint metres) {
    showPosition(entry, metres, true);
    m_editor.setPosition(entry, metres);
    showArrivals();
}

void CSSVCDlg::center() {
    m_editor.center();
    m_plan->setPosition(0, {});
    showPosition(0, {}, true);
    showArrivals();
}

void CSSVCDlg::reset() {
    m_editor.reset();
    refreshFromImage();
}

void CSSVCDlg::alignDelays() {
    DeviceImage& image = m_context.image();
    const TimeAlignment a =
        quilo::alignDelays(m_editor.layout(), std::span(image.params.outLocation));
    for (std::size_t ch = 0; ch < a.channelDelayMs.size(); ++ch) {
        if (a.channelDelayMs[ch]) {
            setOutputDelay(image, m_context.setters(), static_cast<int>(ch), *a.channelDelayMs[ch]);
        }
    }
    m_context.notice(kAligned.pick(m_language));
}

void CSSVCDlg::onLevel(int channel, int position) {
    m_context.setters().set(&DspParams::outLevel, channel, position);
    m_levelTexts[static_cast<std::size_t>(channel)]->setText(QStringLiteral("%1%").arg(position));
}

void CSSVCDlg::onLocate(int channel, bool ticked) {
    if (ticked) {
        for (int ch = 0; ch < 8; ++ch) {
            m_locate[static_cast<std::size_t>(ch)]->setChecked(ch == channel);
        }
        m_editor.locate(channel);
        m_context.pageState().locateChannel = channel + 1;
    } else {
        m_editor.stopLocate();
        m_context.pageState().locateChannel = 0;
    }
}

} // namespace quilo
