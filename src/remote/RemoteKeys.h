#pragma once

#include "device/ReportSink.h"
#include "model/DeviceImage.h"
#include "remote/RemoteFile.h"

#include <filesystem>
#include <functional>
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
    // SetRemoteTable with the whole table. What the sink returned: 0 when no
    // processor is attached.
    int apply();
    // loadRemoteFile into the table, then apply(); a file that fails sends nothing.
    RemoteFileResult loadAndApply(const std::filesystem::path& path);

private:
    RemoteKeyTable& m_table;
    ReportSink& m_sink;
};

} // namespace quilo
