#pragma once

#include "ui/Page.h"

class QLabel;

namespace quilo {

class CGdipButton;
class ChannelEqSection;
class PageContext;

// The full-size editor of one effect equaliser (reverb A or B, echo A or B, seven bands),
// reached from the previews of the music page and left with its return button.
class CDialogEfx : public Page {
    Q_OBJECT

public:
    static constexpr int kTemplate = 421;
    enum CtrlId { kReturnButton = 1068, kPicture = 1258 };
    // Effect equalisers: 0 reverb A, 1 reverb B, 2 echo A, 3 echo B.
    static constexpr int kEqualisers = 4;

    CDialogEfx(PageContext& context, QWidget* parent = nullptr);
    ~CDialogEfx() override;

    PageKind kind() const override { return PageKind::Effects; }
    int templateId() const override { return kTemplate; }
    void refreshFromImage() override;
    void applyLanguage(int language) override;
    bool hasEqualiser() const override { return true; }
    bool eqSwitch() const override;
    void toggleEqSwitch() override;
    void resetCurrentEq() override;
    void numberKey(int number) override;

    int index() const { return m_index; }
    // Back to the music page on the channel it was left on.
    void returnToMusic();

    ChannelEqSection& eqSection() { return *m_section; }
    CGdipButton& returnButton() { return *m_return; }
    QLabel& picture() { return *m_picture; }

private:
    PageContext& m_context;
    int m_index = 0;
    ChannelEqSection* m_section = nullptr;
    QLabel* m_picture = nullptr;
    CGdipButton* m_return = nullptr;
};

} // namespace quilo
