#pragma once

#include "ui/Prompter.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace quilo::test {

// Answers every question without a person and remembers what was asked.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString kind; // "message", "yesno", "yesnocancel", "choice", "open", "save"
        QString caption;
        QString text;
        Icon icon = Icon::Information;
    };

    ScriptedPrompter() : Prompter(nullptr, nullptr) {}

    std::deque<bool> yesNo;              // default: yes
    std::deque<Answer> yesNoCancel;      // default: cancel
    std::deque<int> choices;             // default: 0
    std::deque<QString> openNames;       // default: cancelled
    std::deque<QString> saveNames;       // default: cancelled
    std::vector<bool> saveAsksOverwrite; // per save dialog: whether it asks itself
    std::vector<Shown> shown;
    QStringList lastChoices; // the two choices of the last choice box

    void message(QWidget*, Icon icon, const QString& caption, const QString& text) override {
        shown.push_back({QStringLiteral("message"), caption, text, icon});
    }
    bool askYesNo(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({QStringLiteral("yesno"), caption, text, Icon::Question});
        return take(yesNo, true);
    }
    Answer askYesNoCancel(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({QStringLiteral("yesnocancel"), caption, text, Icon::Question});
        return take(yesNoCancel, Answer::Cancel);
    }
    int askChoice(QWidget*, const QString& message, const QString& first,
                  const QString& second) override {
        shown.push_back({QStringLiteral("choice"), QString(), message, Icon::Question});
        lastChoices = {first, second};
        return take(choices, 0);
    }
    QString openFileName(QWidget*, const QString& filter) override {
        shown.push_back({QStringLiteral("open"), QString(), filter, Icon::Question});
        return take(openNames, QString());
    }
    QString saveFileName(QWidget*, const QString& name, const QString& suffix,
                         const QString& filter, bool askOverwrite) override {
        saveAsksOverwrite.push_back(askOverwrite);
        shown.push_back(
            {QStringLiteral("save"), name + QLatin1Char('.') + suffix, filter, Icon::Question});
        return take(saveNames, QString());
    }

    int count(const QString& kind) const {
        int n = 0;
        for (const Shown& s : shown) {
            n += s.kind == kind ? 1 : 0;
        }
        return n;
    }
    const Shown* last(const QString& kind) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
            if (it->kind == kind) {
                return &*it;
            }
        }
        return nullptr;
    }

private:
    template <typename T> static T take(std::deque<T>& q, T fallback) {
        if (q.empty()) {
            return fallback;
        }
        T v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace quilo::test
