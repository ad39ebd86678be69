#pragma once

#include "model/PollingGate.h"
#include "remote/RemoteKeys.h"
#include "remote/gui/CRemoteStudyDlg.h"
#include "ui/ToolWindow.h"

#include <QPointer>

class QLabel;
class QPushButton;

namespace quilo {

class PageContext;
class RemoteKeyList;
class RemotePicture;

// "Learn remoter control" (template 373): the drawn remote whose keys start a
// learning when clicked, the key list in the user-interface language, and
// Apply, Load file and Save file for the remote key table.
class CRemoteDlg : public ToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 373;

    CRemoteDlg(PageContext& context, QWidget* parent = nullptr);
    ~CRemoteDlg() override;

    int templateId() const override { return kTemplateId; }
    void refreshFromImage() override;
    void applyLanguage(int language) override;

    // A hot spot was clicked (1587, 1600-1616).
    void hotSpotClicked(int ctrlId);
    // Apply, Load file, Save file (buttons 1, 3, 4).
    void apply();
    void loadFile();
    void saveFile();
    // A remote data file opened from outside: loaded and sent as Load file does.
    void openFile(const QString& path) override;

    // The learning window while a key is learned, else null.
    CRemoteStudyDlg* studyDialog() const { return m_study.data(); }
    RemotePicture* picture() const { return m_picture; }
    RemoteKeyList* keyList() const { return m_keyList; }
    // The line that says what keys 16-17 will be set to while they are not known.
    QLabel* tailNote() const { return m_tailNote; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void learnedKey(int code);
    // Says what keys 16-17 will be set to while they are not known.
    void showTailNote();
    void stopLearning();
    // False (with the notice) when no processor is connected.
    bool connectedOrSay();
    // Loads `path` into the table and sends it; says how it went.
    void loadAndSend(const QString& path);

    PageContext& m_context;
    // No status poll while keys are learned: the processor answers a learning only
    // when a key comes, and every poll would wait for that.
    PollingGate::Pause m_noPolling;
    RemoteKeys m_keys;
    RemotePicture* m_picture;
    RemoteKeyList* m_keyList;
    QPointer<CRemoteStudyDlg> m_study;
    int m_learningKey = 0;
    QLabel* m_tailNote;
};

} // namespace quilo
