#pragma once

#include <QDialog>

namespace quilo {

// The modeless tool windows, by their template ids.
enum class ToolWindowId {
    MachineSettings = 335,
    RemoteLearning = 373,
    SubDecay = 410,
    MusicAgc = 424,
    SmartPlug = 479,
    InputSource = 512,
    Features = 515,
    SystemResponse = 601,
    HomeAutomation = 620,
};

// What a modeless tool window needs (features, subwoofer decay, music automatic
// level, input source, remote learning, smart plug, machine settings). At most
// one of each exists (ToolWindows keeps them); it is forgotten when destroyed.
class ToolWindow : public QDialog {
    Q_OBJECT
public:
    explicit ToolWindow(QWidget* parent = nullptr) : QDialog(parent) {}

    virtual int templateId() const = 0;
    virtual void refreshFromImage() = 0;
    // The table is applied already; relabel what the window builds in code.
    virtual void applyLanguage(int language) = 0;
    // Its command was given again while it is open: it shows the model again, unless it
    // holds edits that are not sent yet.
    virtual void reopened() { refreshFromImage(); }
    // A file of the window's kind was opened with the program (a key table for remote
    // learning); windows that take no files ignore it.
    virtual void openFile(const QString& path) { Q_UNUSED(path); }
};

} // namespace quilo
