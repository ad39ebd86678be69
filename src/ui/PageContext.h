#pragma once

#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"
#include "ui/DeviceAccess.h"
#include "ui/EqCopySource.h"
#include "ui/Language.h"
#include "ui/Navigator.h"
#include "ui/Prompter.h"
#include "ui/SyncStarter.h"

namespace quilo {

// Everything a page or tool window works with, and nothing more: the image and
// the user-interface thread's way to the processor, the prompter, the language,
// navigation with the page area's remembered state, the equaliser copy source and
// the synchronisation. The program makes one over its main window; a test makes
// one over an emulated processor and stand-ins for the rest.
//
// Pages run on the user-interface thread and touch the image only while that
// thread owns it (see DeviceImage): between a refreshFromImage and the next
// synchronisation, which keeps the user interface behind its progress dialog.
class PageContext {
public:
    PageContext(DeviceImage& image, DeviceAccess& device, Prompter& prompter, Language& language,
                Navigator& navigator, EqCopySource& copySource, SyncStarter& sync)
        : m_image(image), m_device(device), m_prompter(prompter), m_language(language),
          m_navigator(navigator), m_copySource(copySource), m_sync(sync),
          m_setters(image, device.uiSink()), m_bands(image, device.uiSink()) {}
    PageContext(const PageContext&) = delete;
    PageContext& operator=(const PageContext&) = delete;

    // --- the image and the processor
    DeviceImage& image() { return m_image; }
    // Never blocks; 61 while a processor is connected, 0 when not.
    ReportSink& sink() { return m_device.uiSink(); }
    bool connected() const { return m_device.linkOpen(); }
    // Field setters and band operations over the image and that sink.
    FieldSetters& setters() { return m_setters; }
    BandOps& bands() { return m_bands; }
    // Learned keys and Z-Wave events (signals), and the status poll switch.
    DeviceAccess& device() { return m_device; }
    // The smart home (plug table, workers, key files); null where there is none.
    SmartHome* smartHome() { return m_device.smartHome(); }

    // --- notices, questions, message boxes, file dialogs
    Prompter& prompter() { return m_prompter; }
    void notice(const QString& text, int ms = 1100) { m_prompter.notice(text, ms); }

    // --- language: the index, the table's texts, and the signal when it changes
    int language() const { return m_language.index(); }
    QString text(int templateId, int ctrlId) const { return m_language.text(templateId, ctrlId); }
    void applyTable(QWidget* window, int templateId) const {
        m_language.applyTable(window, templateId);
    }
    // Connect to Language::changed to follow a switch.
    Language& languageSource() { return m_language; }

    // --- navigation and remembered page state
    void showPage(PageKind kind, int argument = -1) { m_navigator.showPage(kind, argument); }
    void openToolWindow(ToolWindowId id) { m_navigator.openToolWindow(id); }
    void closeToolWindow(ToolWindowId id) { m_navigator.closeToolWindow(id); }
    PageState& pageState() { return m_navigator.pageState(); }

    // --- the equaliser last chosen with "Copy EQ", shared by every page
    EqCopySource& eqCopySource() { return m_copySource; }

    // --- synchronisation of the whole image (machine settings, smart home)
    void startPull(const QString& dialogText = {}) { m_sync.startPull(dialogText); }
    void startPush() { m_sync.startPush(); }

private:
    DeviceImage& m_image;
    DeviceAccess& m_device;
    Prompter& m_prompter;
    Language& m_language;
    Navigator& m_navigator;
    EqCopySource& m_copySource;
    SyncStarter& m_sync;
    FieldSetters m_setters;
    BandOps m_bands;
};

} // namespace quilo
