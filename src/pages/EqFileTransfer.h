#pragma once

#include "device/ReportSink.h"
#include "model/DeviceImage.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <span>

class QWidget;

namespace quilo {

class Prompter;

// "Import…" and "Export…" of the equaliser section: the user bands of an equaliser to and
// from the filter lists that room-measurement and headphone-correction tools read and write.
// An import goes through applyBand for every target equaliser, so it is stored, sent and
// taken back as one step like any band edit; a refused list changes nothing.
class EqFileTransfer {
public:
    // The largest file taken for a filter list; anything bigger is no list.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

    // `language` is asked at each use (0 Chinese, 1 English).
    EqFileTransfer(DeviceImage& image, ReportSink& sink, std::function<int()> language);
    ~EqFileTransfer();

    // File dialogs and boxes go through `prompter` (the page context's); without one, the
    // usual dialogs.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }

    // Asks for a filter list and puts it into the user bands of every equaliser of `eqIds`.
    // True when the bands were replaced.
    bool importInto(QWidget* parent, std::span<const int> eqIds);
    // The same from a file already chosen.
    bool importFile(QWidget* parent, const QString& path, std::span<const int> eqIds);
    // Asks for a file name and writes the user bands of `eqId` to it. True when written.
    bool exportFrom(QWidget* parent, int eqId, const QString& defaultName);

private:
    Prompter& prompter();
    QString filter() const;

    DeviceImage& m_image;
    ReportSink& m_sink;
    std::function<int()> m_language;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<Prompter> m_ownPrompter;
};

} // namespace quilo
