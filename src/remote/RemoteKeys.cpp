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

void RemoteKeys::keepTail(const std::filesystem::path& store,
                          std::function<std::u16string()> model) {
    m_tailStore.emplace(store);
    m_model = std::move(model);
}

RemoteTail RemoteKeys::knownTail() const {
    return m_tailStore ? m_tailStore->known(m_model()) : RemoteTail{};
}

void RemoteKeys::remember(const RemoteTail& tail) const {
    if (m_tailStore) {
        m_tailStore->remember(m_model(), tail);
    }
}

int RemoteKeys::apply() {
    RemoteTail known = knownTail();
    applyRemoteTail(m_table, known);
    const int sent = m_sink.send(buildSetRemoteTable(m_table));
    if (sent > 0) {
        noteRemoteTail(known, m_table, 0, m_table.size());
        remember(known);
    }
    return sent;
}

RemoteFileResult RemoteKeys::loadAndApply(const std::filesystem::path& path) {
    const RemoteFileResult result = loadRemoteFile(path, m_table);
    if (result.ok()) {
        tookBytes(0, result.bytes);
        apply();
    }
    return result;
}

void RemoteKeys::tookBytes(std::size_t first, std::size_t count) {
    RemoteTail known = knownTail();
    const RemoteTail before = known;
    noteRemoteTail(known, m_table, first, count);
    if (!(known == before)) {
        remember(known);
    }
}

void RemoteKeys::noteLearned(int key, std::uint8_t code) {
    if (key < int(kFirstUnreportedKey) || key > kLastRemoteKey) {
        return;
    }
    RemoteTail known = knownTail();
    known.keys[std::size_t(key) - kFirstUnreportedKey] = code;
    remember(known);
}

std::string RemoteKeys::tailNotice(int language) const {
    const RemoteTail known = knownTail();
    RemoteKeyTable sent = m_table;
    applyRemoteTail(sent, known);
    return unknownRemoteTailText(sent, known, language);
}

} // namespace quilo
