#include "smarthome/gui/KeyFileNotice.h"

#include "smarthome/SmartHome.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/PageContext.h"

#include <QString>

namespace quilo {

bool readPlugKeys(PageContext& context, SmartHome& home, int id, std::vector<PlugKey>& keys,
                  QWidget* parent) {
    const PlugKeyFile& files = home.keys();
    std::error_code folderError;
    files.keyFolder(folderError);
    if (folderError) {
        context.prompter().message(parent, Prompter::Icon::Error,
                                   QString::fromUtf8(hometext::kPromptCaption),
                                   QString::fromUtf8(hometext::kKeyFolderFailed));
        return false;
    }
    KeyFileStatus status = files.ensureKeyFile(id);
    std::vector<PlugKey> read;
    if (status == KeyFileStatus::Ok) {
        status = files.readKeys(id, read);
    }
    if (status != KeyFileStatus::Ok) {
        context.prompter().message(parent, Prompter::Icon::Warning,
                                   QString::fromUtf8(hometext::kPromptCaption),
                                   hometext::kKeyFileUnreadable.pick(context.language()) +
                                       QString::fromStdString(files.path(id).string()));
        return false;
    }
    keys = std::move(read);
    return true;
}

} // namespace quilo
