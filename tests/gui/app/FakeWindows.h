#pragma once

#include "app/CVORNEXv13App.h"

#include <QLabel>
#include <QPushButton>

#include <vector>

namespace quilo::test {

// A page that notes what the view asks of it.
class FakePage : public Page {
public:
    FakePage(PageKind kind, bool equaliser, QWidget* parent)
        : Page(parent), m_kind(kind), m_eq(equaliser) {
        label = new QLabel(QStringLiteral("page text"), this);
        label->setProperty("ctrlId", 2);
    }
    PageKind kind() const override { return m_kind; }
    int templateId() const override { return 513; } // a template the tables have
    void refreshFromImage() override { ++refreshes; }
    void applyLanguage(int language) override { languages.push_back(language); }
    void reselect() override { ++reselects; }
    bool hasEqualiser() const override { return m_eq; }
    bool eqSwitch() const override { return eqOn; }
    void toggleEqSwitch() override { eqOn = !eqOn; }
    void resetCurrentEq() override { ++eqResets; }
    void numberKey(int n) override { numbers.push_back(n); }

    QLabel* label;
    int refreshes = 0;
    int reselects = 0;
    int eqResets = 0;
    bool eqOn = false;
    std::vector<int> languages;
    std::vector<int> numbers;

private:
    PageKind m_kind;
    bool m_eq;
};

// A tool window labelled from the choice box's template, whose cancel text the
// tables carry in both languages.
class FakeToolWindow : public ToolWindow {
public:
    explicit FakeToolWindow(QWidget* parent) : ToolWindow(parent) {
        button = new QPushButton(QStringLiteral("template text"), this);
        button->setProperty("ctrlId", 2);
    }
    int templateId() const override { return 513; }
    void refreshFromImage() override { ++refreshes; }
    void applyLanguage(int language) override { languages.push_back(language); }

    QPushButton* button;
    int refreshes = 0;
    std::vector<int> languages;
};

inline void registerFakes(CVORNEXv13App& app, bool outputHasEq = true) {
    app.setPageFactory(PageKind::MusicMic, [](PageContext&, QWidget* parent) {
        return new FakePage(PageKind::MusicMic, true, parent);
    });
    app.setPageFactory(PageKind::Output, [outputHasEq](PageContext&, QWidget* parent) {
        return new FakePage(PageKind::Output, outputHasEq, parent);
    });
    for (ToolWindowId id :
         {ToolWindowId::Features, ToolWindowId::MachineSettings, ToolWindowId::InputSource,
          ToolWindowId::SubDecay, ToolWindowId::MusicAgc, ToolWindowId::RemoteLearning,
          ToolWindowId::SmartPlug}) {
        app.setToolWindowFactory(
            id, [](PageContext&, QWidget* parent) { return new FakeToolWindow(parent); });
    }
}

} // namespace quilo::test
