#pragma once

#include "device/ReportSink.h"
#include "model/DeviceImage.h"
#include "remote/RemoteFile.h"
#include "remote/RemoteKeyTail.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quilo {

// Keys 1-17 of the processor's remote-control functions; byte k of the table
// holds the code of key k, byte 0 what the processor reports with every
// learned key.
constexpr int kFirstRemoteKey = 1;
constexpr int kLastRemoteKey = 17;
bool isRemoteKey(int key);

// A learned code as the learning window shows it: two upper-case hex digits.
std::string learnedCodeText(int code);

// Teaching the processor its remote-control keys and handing it the table.
//
// A learned code reaches the program as the reply to LearnKey: the inbound
// dispatcher stores it in byte [key] of the table and passes it on with
// DeviceEvents::learnedKey. It stays in the host's table until apply() (or a
// loaded file) sends the table.
class RemoteKeys {
public:
    RemoteKeys(RemoteKeyTable& table, ReportSink& sink) : m_table(table), m_sink(sink) {}

    // LearnKey: the processor waits for a key of the user's remote. Sends
    // nothing and returns 0 for a key outside 1-17.
    int learn(int key);
    // StopLearn. The LearnKey being withdrawn is never answered, so the write
    // path's pacing is released first (`releasePacing`); otherwise StopLearn
    // would wait for that answer.
    int stopLearning(const std::function<void()>& releasePacing);
    // Keys 16-17 are kept in `store` for the processor `model` names: known codes go into
    // every table sent, and what a file, a learning or a send sets is remembered there.
    void keepTail(const std::filesystem::path& store, std::function<std::u16string()> model);

    // SetRemoteTable with the whole table (keys 16-17 as last known). What the sink
    // returned: 0 when no processor is attached.
    int apply();
    // loadRemoteFile into the table, then apply(); a file that fails sends nothing.
    RemoteFileResult loadAndApply(const std::filesystem::path& path);
    // Bytes [first, first + count) of the table were set from a file: keys 16-17 among
    // them are known from now on.
    void tookBytes(std::size_t first, std::size_t count);
    // The processor learned `code` for `key`.
    void noteLearned(int key, std::uint8_t code);
    // Empty while keys 16-17 are known, else what the next apply() sets them to.
    std::string tailNotice(int language) const;

private:
    RemoteTail knownTail() const;
    void remember(const RemoteTail& tail) const;

    RemoteKeyTable& m_table;
    ReportSink& m_sink;
    std::optional<RemoteTailFile> m_tailStore;
    std::function<std::u16string()> m_model;
};

} // namespace quilo
