#pragma once

#include "HttpCall.h"

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace quilo::test {

// Headless Chromium at phone size with its own profile, driven over its DevTools
// protocol on 127.0.0.1: one page, commands answered while the event loop runs
// here (the page's server may be in this thread).
class HeadlessBrowser {
public:
    static QString executable() {
        return QStandardPaths::findExecutable(QStringLiteral("chromium"));
    }

    // Empty on success, otherwise why the browser is not there.
    QString start(int width, int height) {
        m_process.setProgram(executable());
        m_process.setArguments({
            QStringLiteral("--headless=new"),
            QStringLiteral("--no-sandbox"),
            QStringLiteral("--disable-gpu"),
            QStringLiteral("--no-first-run"),
            QStringLiteral("--no-default-browser-check"),
            QStringLiteral("--disable-extensions"),
            QStringLiteral("--disable-background-networking"),
            QStringLiteral("--remote-debugging-address=127.0.0.1"),
            QStringLiteral("--remote-debugging-port=0"),
            QStringLiteral("--user-data-dir=") + m_profile.path(),
            QStringLiteral("--window-size=%1,%2").arg(width).arg(height),
            QStringLiteral("about:blank"),
        });
        m_process.start();
        QByteArray err;
        const QRegularExpression listening(
            QStringLiteral("DevTools listening on ws://[^:]+:(\\d+)/"));
        QRegularExpressionMatch match;
        QElapsedTimer clock;
        clock.start();
        while (!match.hasMatch() && clock.elapsed() < 20000 &&
               m_process.state() != QProcess::NotRunning) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            m_process.waitForReadyRead(20);
            err += m_process.readAllStandardError();
            match = listening.match(QString::fromLocal8Bit(err));
        }
        if (!match.hasMatch()) {
            return QStringLiteral("chromium did not start: ") + QString::fromLocal8Bit(err);
        }
        const auto port = static_cast<quint16>(match.captured(1).toUInt());
        QString url;
        while (url.isEmpty() && clock.elapsed() < 20000) {
            const QJsonArray targets =
                QJsonDocument::fromJson(httpCall(port, "GET", "/json/list").body).array();
            for (const QJsonValue& t : targets) {
                if (t.toObject().value(QStringLiteral("type")).toString() ==
                    QLatin1String("page")) {
                    url = t.toObject().value(QStringLiteral("webSocketDebuggerUrl")).toString();
                }
            }
        }
        if (url.isEmpty()) {
            return QStringLiteral("no page in chromium");
        }
        QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
            if (o.contains(QStringLiteral("id"))) {
                m_answers.insert(o.value(QStringLiteral("id")).toInt(), o);
            }
        });
        m_socket.open(QUrl(url));
        while (m_socket.state() != QAbstractSocket::ConnectedState && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return m_socket.state() == QAbstractSocket::ConnectedState
                   ? QString()
                   : QStringLiteral("cannot reach chromium's page");
    }

    ~HeadlessBrowser() {
        m_socket.close();
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(2000);
            }
        }
    }

    // One command's result; an empty object when it failed or took over 10 s.
    QJsonObject call(const QString& method, const QJsonObject& params = {}) {
        const int id = ++m_lastId;
        m_socket.sendTextMessage(
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("id"), id},
                                                        {QStringLiteral("method"), method},
                                                        {QStringLiteral("params"), params}})
                                  .toJson(QJsonDocument::Compact)));
        QElapsedTimer clock;
        clock.start();
        while (!m_answers.contains(id) && clock.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return m_answers.take(id).value(QStringLiteral("result")).toObject();
    }
    // The value of a script run in the page.
    QJsonValue eval(const QString& script) {
        return call(QStringLiteral("Runtime.evaluate"), {{QStringLiteral("expression"), script},
                                                         {QStringLiteral("returnByValue"), true},
                                                         {QStringLiteral("awaitPromise"), true}})
            .value(QStringLiteral("result"))
            .toObject()
            .value(QStringLiteral("value"));
    }
    // A finger's tap at the middle of the element with `id`; false when it is not shown.
    bool tap(const QString& id) {
        const QJsonObject box =
            eval(QStringLiteral(
                     "(()=>{const r=document.getElementById('%1').getBoundingClientRect();"
                     "return {x:r.x+r.width/2,y:r.y+r.height/2,w:r.width}})()")
                     .arg(id))
                .toObject();
        if (box.value(QStringLiteral("w")).toDouble() <= 0) {
            return false;
        }
        const QJsonArray point{QJsonObject{{QStringLiteral("x"), box.value(QStringLiteral("x"))},
                                           {QStringLiteral("y"), box.value(QStringLiteral("y"))}}};
        call(QStringLiteral("Input.dispatchTouchEvent"),
             {{QStringLiteral("type"), QStringLiteral("touchStart")},
              {QStringLiteral("touchPoints"), point}});
        call(QStringLiteral("Input.dispatchTouchEvent"),
             {{QStringLiteral("type"), QStringLiteral("touchEnd")},
              {QStringLiteral("touchPoints"), QJsonArray{}}});
        return true;
    }

private:
    QTemporaryDir m_profile;
    QProcess m_process;
    QWebSocket m_socket;
    QHash<int, QJsonObject> m_answers;
    int m_lastId = 0;
};

} // namespace quilo::test
