#include "pages/EqFileTransfer.h"

#include "model/AtomicWrite.h"
#include "model/EqImport.h"
#include "model/FileRead.h"
#include "pages/EqImportTexts.h"
#include "ui/Prompter.h"

#include <QFile>

namespace quilo {

using namespace eqsection;

EqFileTransfer::EqFileTransfer(DeviceImage& image, ReportSink& sink, std::function<int()> language)
    : m_image(image), m_sink(sink), m_language(std::move(language)) {}

EqFileTransfer::~EqFileTransfer() = default;

Prompter& EqFileTransfer::prompter() {
    if (m_prompter) {
        return *m_prompter;
    }
    if (!m_ownPrompter) {
        m_ownPrompter = std::make_unique<Prompter>(m_language, nullptr);
    }
    return *m_ownPrompter;
}

QString EqFileTransfer::filter() const {
    const int lang = m_language();
    return kFilterFiles.pick(lang) + QStringLiteral(";;") + kAllFiles.pick(lang);
}

bool EqFileTransfer::importInto(QWidget* parent, std::span<const int> eqIds) {
    const QString path = prompter().openFileName(parent, filter());
    if (path.isEmpty()) {
        return false;
    }
    return importFile(parent, path, eqIds);
}

bool EqFileTransfer::importFile(QWidget* parent, const QString& path, std::span<const int> eqIds) {
    const int lang = m_language();
    const QString caption = kImportCaption.pick(lang);
    // Only a plain file, and no more than a list can hold: a FIFO would hold the
    // window in open() for as long as nobody writes to it.
    std::vector<std::uint8_t> bytes;
    if (readRegularFile(QFile::encodeName(path).toStdString(), kMaxFileBytes, bytes)) {
        prompter().message(parent, Prompter::Icon::Warning, caption,
                           kCannotRead.pick(lang).arg(path));
        return false;
    }
    if (bytes.size() > kMaxFileBytes) {
        prompter().message(parent, Prompter::Icon::Warning, caption, kNotText.pick(lang).arg(path));
        return false;
    }
    const EqImportResult result = importEqFilterText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), eqIds, m_image,
        m_sink);
    if (result.refusal) {
        prompter().message(parent, Prompter::Icon::Warning, caption,
                           refusalText(*result.refusal, lang));
        return false;
    }
    if (!result.warnings.empty()) {
        prompter().message(parent, Prompter::Icon::Information, caption,
                           warningsText(result.warnings, lang));
    }
    return true;
}

bool EqFileTransfer::exportFrom(QWidget* parent, int eqId, const QString& defaultName) {
    const int lang = m_language();
    const QString path =
        prompter().saveFileName(parent, defaultName, QStringLiteral("txt"), filter());
    if (path.isEmpty()) {
        return false;
    }
    const std::string text = exportEqFilterText(m_image, eqId);
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const std::error_code e = writeFileAtomically(path.toStdString(), {data, text.size()})) {
        prompter().message(parent, Prompter::Icon::Warning, kExportCaption.pick(lang),
                           kCannotWrite.pick(lang).arg(path, QString::fromStdString(e.message())));
        return false;
    }
    return true;
}

} // namespace quilo
