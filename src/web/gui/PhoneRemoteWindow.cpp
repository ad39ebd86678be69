#include "web/gui/PhoneRemoteWindow.h"

#include "ui/BiText.h"
#include "web/WebRemote.h"
#include "web/gui/QrImage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHostAddress>
#include <QLabel>
#include <QNetworkInterface>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quilo {

namespace {

constexpr BiText kTitle{"手机遥控", "Phone remote"};
constexpr BiText kServe{"开启手机遥控网页", "Serve the phone remote page"};
constexpr BiText kListenOn{"监听地址", "Listen on"};
constexpr BiText kAllInterfaces{"所有网络接口", "All interfaces"};
constexpr BiText kPort{"端口", "Port"};
constexpr BiText kAllWarning{"注意：网络上的任何人都能打开配对页面。",
                             "Note: anyone on the network can reach the pairing page."};
constexpr BiText kOff{"手机遥控已关闭。", "The phone remote is off."};
constexpr BiText kCannotListen{"无法监听：%1", "Cannot listen: %1"};
constexpr BiText kOpenOnPhone{"用手机扫描二维码，或打开：", "Scan the code with a phone or open:"};
constexpr BiText kPairingCode{"配对码", "Pairing code"};
constexpr BiText kNewCode{"新配对码", "New code"};
constexpr BiText kCodeLeft{"还有 %1 有效，只能使用一次", "valid for %1 more, once"};
constexpr BiText kNoCode{"没有有效的配对码", "no valid code"};
constexpr BiText kPhones{"已配对的手机", "Paired phones"};
constexpr BiText kName{"名称", "Name"};
constexpr BiText kLastUse{"最近使用", "Last use"};
constexpr BiText kRevoke{"撤销配对", "Revoke"};

constexpr int kQrScale = 4;
constexpr int kQrSide = 41 * kQrScale; // a small code's size, kept while it is off

QString minutesSeconds(qint64 ms) {
    const qint64 s = (ms + 999) / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PhoneRemoteWindow::PhoneRemoteWindow(PageContext& context, WebRemote& remote, QWidget* parent)
    : ContextToolWindow(context, kTemplate, parent), m_remote(remote) {
    m_serve = new QCheckBox(this);
    m_listenLabel = new QLabel(this);
    m_address = new QComboBox(this);
    m_portLabel = new QLabel(this);
    m_port = new QSpinBox(this);
    m_port->setRange(1024, 65535);
    m_port->setValue(remote.settings().port >= 1024 ? remote.settings().port
                                                    : WebSettings::kDefaultPort);
    m_warning = new QLabel(this);
    m_warning->setStyleSheet(QStringLiteral("color:#c0392b;"));
    m_warning->setWordWrap(true);
    m_url = new QLabel(this);
    m_url->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_qr = new QLabel(this);
    m_qr->setFixedSize(kQrSide + 2 * 4 * kQrScale, kQrSide + 2 * 4 * kQrScale);
    m_qr->setAlignment(Qt::AlignCenter);
    m_codeTitle = new QLabel(this);
    m_code = new QLabel(this);
    QFont big = m_code->font();
    big.setPointSize(22);
    big.setBold(true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    m_code->setFont(big);
    m_code->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_codeLeft = new QLabel(this);
    m_newCode = new QPushButton(this);
    m_phonesTitle = new QLabel(this);
    m_phones = new QTreeWidget(this);
    m_phones->setColumnCount(2);
    m_phones->setRootIsDecorated(false);
    m_phones->setMinimumHeight(110);
    m_phones->setMaximumHeight(150);
    m_phones->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_phones->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_revoke = new QPushButton(this);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);

    auto* listen = new QGridLayout;
    listen->addWidget(m_serve, 0, 0, 1, 4);
    listen->addWidget(m_listenLabel, 1, 0);
    listen->addWidget(m_address, 1, 1);
    listen->addWidget(m_portLabel, 1, 2);
    listen->addWidget(m_port, 1, 3);
    listen->addWidget(m_warning, 2, 0, 1, 4);
    listen->setColumnStretch(1, 1);

    auto* codeBox = new QVBoxLayout;
    codeBox->addWidget(m_status);
    codeBox->addWidget(m_url);
    codeBox->addSpacing(8);
    codeBox->addWidget(m_codeTitle);
    codeBox->addWidget(m_code);
    codeBox->addWidget(m_codeLeft);
    codeBox->addWidget(m_newCode, 0, Qt::AlignLeft);
    codeBox->addStretch(1);
    auto* page = new QHBoxLayout;
    page->addWidget(m_qr, 0, Qt::AlignTop);
    page->addLayout(codeBox, 1);

    auto* phoneButtons = new QHBoxLayout;
    phoneButtons->addStretch(1);
    phoneButtons->addWidget(m_revoke);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listen);
    layout->addLayout(page);
    layout->addWidget(m_phonesTitle);
    layout->addWidget(m_phones);
    layout->addLayout(phoneButtons);
    setMinimumWidth(460);

    fillAddresses();
    connect(m_serve, &QCheckBox::clicked, this, [this](bool on) {
        if (on) {
            applyListen();
        } else {
            m_problem.clear();
            m_remote.switchOff();
        }
    });
    connect(m_address, &QComboBox::activated, this, [this] { applyListen(); });
    connect(m_address, &QComboBox::currentIndexChanged, this, [this] {
        m_warning->setVisible(chosenAddress() == QLatin1String(WebSettings::kAllInterfaces));
    });
    connect(m_port, &QSpinBox::editingFinished, this, [this] {
        if (m_remote.isOn() && m_port->value() != m_remote.port()) {
            applyListen();
        }
    });
    connect(m_newCode, &QPushButton::clicked, this, [this] { m_remote.newCode(); });
    connect(m_revoke, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem* item = m_phones->currentItem()) {
            m_remote.revoke(item->text(0));
        }
    });
    connect(m_phones, &QTreeWidget::currentItemChanged, this,
            [this] { m_revoke->setEnabled(m_phones->currentItem() != nullptr); });
    connect(&remote, &WebRemote::changed, this, &PhoneRemoteWindow::showState);
    auto* tick = new QTimer(this);
    tick->setInterval(1000);
    connect(tick, &QTimer::timeout, this, &PhoneRemoteWindow::showCode);
    tick->start();
    applyLanguage(context.language());
}

void PhoneRemoteWindow::fillAddresses() {
    m_address->clear();
    const QString chosen =
        m_remote.isOn() ? m_remote.listening().address : m_remote.settings().address;
    const QString one = chosen.isEmpty() ? firstLanAddress() : chosen;
    QStringList addresses;
    for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLinkLocal()) {
            addresses.append(a.toString());
        }
    }
    if (!addresses.contains(one) && one != QLatin1String(WebSettings::kAllInterfaces)) {
        addresses.prepend(one);
    }
    for (const QString& a : addresses) {
        m_address->addItem(a, a);
    }
    m_address->addItem(kAllInterfaces.pick(m_language),
                       QString::fromLatin1(WebSettings::kAllInterfaces));
    m_address->setCurrentIndex(std::max(0, m_address->findData(one)));
}

QString PhoneRemoteWindow::chosenAddress() const {
    return m_address->currentData().toString();
}

void PhoneRemoteWindow::applyListen() {
    if (!m_serve->isChecked()) {
        showState();
        return;
    }
    const QString problem =
        m_remote.switchOn(chosenAddress(), static_cast<quint16>(m_port->value()));
    m_problem = problem;
    showState();
}

void PhoneRemoteWindow::applyLanguage(int language) {
    m_language = language;
    setWindowTitle(kTitle.pick(language));
    m_serve->setText(kServe.pick(language));
    m_listenLabel->setText(kListenOn.pick(language));
    m_portLabel->setText(kPort.pick(language));
    m_warning->setText(kAllWarning.pick(language));
    m_codeTitle->setText(kPairingCode.pick(language));
    m_newCode->setText(kNewCode.pick(language));
    m_phonesTitle->setText(kPhones.pick(language));
    m_phones->setHeaderLabels({kName.pick(language), kLastUse.pick(language)});
    m_revoke->setText(kRevoke.pick(language));
    m_address->setItemText(m_address->count() - 1, kAllInterfaces.pick(language));
    showState();
}

void PhoneRemoteWindow::showState() {
    const bool on = m_remote.isOn();
    m_serve->setChecked(on);
    m_warning->setVisible(chosenAddress() == QLatin1String(WebSettings::kAllInterfaces));
    if (!m_problem.isEmpty()) {
        m_status->setText(kCannotListen.pick(m_language).arg(m_problem));
    } else {
        m_status->setText(on ? kOpenOnPhone.pick(m_language) : kOff.pick(m_language));
    }
    const QString url = on ? m_remote.url() : QString();
    m_url->setText(url.isEmpty() ? QString()
                                 : QStringLiteral("<b>%1</b>").arg(url.toHtmlEscaped()));
    if (on && m_qr->property("url").toString() != url) {
        m_qr->setPixmap(QPixmap::fromImage(qrImage(url, kQrScale)));
        m_qr->setProperty("url", url);
    } else if (!on) {
        m_qr->clear();
        m_qr->setProperty("url", QString());
    }
    m_newCode->setEnabled(on);

    const QString selected = m_phones->currentItem() ? m_phones->currentItem()->text(0) : QString();
    const QLocale locale(m_language == kEnglish ? QLocale::English : QLocale::Chinese);
    m_phones->clear();
    for (const PairedPhone& phone : m_remote.phones()) {
        auto* item = new QTreeWidgetItem(
            m_phones,
            {phone.name, QLocale().toString(phone.lastUse.toLocalTime(), QLocale::ShortFormat)});
        if (phone.name == selected) {
            m_phones->setCurrentItem(item);
        }
    }
    m_revoke->setEnabled(m_phones->currentItem() != nullptr);
    showCode();
}

void PhoneRemoteWindow::showCode() {
    const QString code = m_remote.isOn() ? m_remote.code() : QString();
    m_code->setText(code.isEmpty() ? QStringLiteral("——————") : code);
    m_codeLeft->setText(
        code.isEmpty() ? kNoCode.pick(m_language)
                       : kCodeLeft.pick(m_language).arg(minutesSeconds(m_remote.codeMsLeft())));
}

} // namespace quilo
