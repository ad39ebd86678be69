#include "remote/RemoteKeys.h"

#include "device/ReportBuilder.h"

#include <cstdio>

namespace quilo {

bool isRemoteKey(int key) {
    return key >= kFirstRemoteKey && key <= kLastRemoteKey;
}

std::string learnedCodeText(int code) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", unsigned(code) & 0xFFu);
    return text;
}

int RemoteKeys::learn(int key) {
    if (!isRemoteKey(key)) {
        return 0;
    }
    return m_sink.send(buildCommand(Command::LearnKey, {static_cast<std::uint8_t>(key)}));
}

int RemoteKeys::stopLearning(const std::function<void()>& releasePacing) {
    if (releasePacing) {
        releasePacing();
    }
    return m_sink.send(buildCommand(Command::StopLearn));
}

int RemoteKeys::apply() {
    return m_sink.send(buildSetRemoteTable(m_table));
}

RemoteFileResult RemoteKeys::loadAndApply(const std::filesystem::path& path) {
    const RemoteFileResult result = loadRemoteFile(path, m_table);
    if (result.ok()) {
        apply();
    }
    return result;
}

} // namespace quilo
