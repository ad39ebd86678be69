#include "cli/ArgParse.h"
#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/DocumentsFolder.h"
#include "cli/FileProblem.h"
#include "cli/OwnerRoute.h"
#include "cli/ProcessorSession.h"
#include "device/ReportBuilder.h"
#include "remote/RemoteFile.h"
#include "remote/RemoteKeyTail.h"
#include "remote/RemoteKeys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace quilo::cli {

namespace {

using std::chrono::milliseconds;

constexpr double kDefaultLearnSeconds = 30.0;
constexpr double kLongestLearnSeconds = 24 * 3600.0;

// Asks for the remote table and waits until the dispatcher has stored it (bytes
// 0-15), as the read-back after connecting does. Empty on success.
std::string readRemoteTable(ProcessorSession& session) {
    const auto code = static_cast<std::uint8_t>(Command::GetRemoteTable);
    const std::uint64_t seen = session.replyCount(code);
    session.sink().send(buildCommand(Command::GetRemoteTable));
    if (!session.awaitReply(code, seen, kReplyWait)) {
        return "the processor did not send its remote table";
    }
    return {};
}

// The remote keys of the session's processor, keys 16-17 (which it does not report) kept
// where the desktop program keeps them too.
RemoteKeys remoteKeys(ProcessorSession& session) {
    RemoteKeys keys(session.image().remoteKeys, session.sink());
    keys.keepTail(remoteTailPath(configFolder()),
                  [&session] { return session.image().info.modelName; });
    return keys;
}

void sayWhenTailUnknown(const RemoteKeys& keys) {
    if (const std::string text = keys.tailNotice(1); !text.empty()) {
        std::cerr << "quiloctl: " << text << '\n';
    }
}

// remote push FILE: up to 18 bytes of the file over the processor's table, then
// SetRemoteTable. A short file leaves the rest of the table as the processor has it;
// keys 16-17 that it does not hold go out as last known.
int push(Args args, const GlobalOptions& options) {
    if (args.size() != 1) {
        return usageError("remote push needs FILE");
    }
    const std::string file(args[0]);
    // A bad file is reported before anything reaches the processor.
    RemoteKeyTable fromFile{};
    const RemoteFileResult loaded = loadRemoteFile(file, fromFile);
    if (!loaded.ok()) {
        return failure(remoteFileProblem(loaded, file));
    }
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r = owner->pushRemote(std::filesystem::absolute(file).string());
        return r.ok() ? 0 : failure(r.errorText);
    }
    ProcessorSession session(options);
    std::string problem = session.connect();
    if (problem.empty()) {
        problem = readRemoteTable(session);
    }
    if (problem.empty()) {
        std::copy_n(fromFile.begin(), loaded.bytes, session.image().remoteKeys.begin());
        RemoteKeys keys = remoteKeys(session);
        keys.tookBytes(0, loaded.bytes);
        sayWhenTailUnknown(keys);
        keys.apply();
    }
    return session.finish(problem);
}

// remote pull FILE: the table as the program holds it after reading it back.
int pull(Args args, const GlobalOptions& options) {
    if (args.size() != 1) {
        return usageError("remote pull needs FILE");
    }
    const std::string file(args[0]);
    if (auto owner = ownerOfProcessor(options)) {
        // The owner read the table when it connected and keeps it up to date.
        const OwnerClient::Reply r = owner->pullRemote(std::filesystem::absolute(file).string());
        return r.ok() ? 0 : failure(r.errorText);
    }
    ProcessorSession session(options);
    std::string problem = session.connect();
    if (problem.empty()) {
        problem = readRemoteTable(session);
    }
    RemoteKeyTable& table = session.image().remoteKeys;
    const RemoteTail known =
        RemoteTailFile(remoteTailPath(configFolder())).known(session.image().info.modelName);
    if (const int status = session.finish(problem); status != 0) {
        return status;
    }
    applyRemoteTail(table, known);
    const RemoteFileResult saved = writeRemoteOutput(file, table);
    if (!saved.ok()) {
        return failure(remoteFileProblem(saved, file));
    }
    if (!known.complete()) {
        std::cerr << "quiloctl: keys 16-17 (music volume +/-) are not known for this processor; "
                     "the file holds "
                  << learnedCodeText(table[16]) << ' ' << learnedCodeText(table[17])
                  << " for them\n";
    }
    return 0;
}

// remote learn KEY [--timeout SECONDS]: prints the learned code as two hex digits.
int learn(Args args, const GlobalOptions& options) {
    std::optional<long> key;
    double seconds = kDefaultLearnSeconds;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--timeout") {
            const auto value = i + 1 < args.size() ? parseNumber(args[++i]) : std::nullopt;
            if (!value || *value <= 0.0 || *value > kLongestLearnSeconds) {
                return usageError("remote learn: --timeout needs a number of seconds above 0 "
                                  "(at most a day)");
            }
            seconds = *value;
        } else if (!key) {
            key = parseInteger(args[i]);
            if (!key || !isRemoteKey(int(*key))) {
                return usageError("remote learn: KEY must be a whole number from 1 to 17");
            }
        } else {
            return usageError("remote learn takes one KEY");
        }
    }
    if (!key) {
        return usageError("remote learn needs KEY [--timeout SECONDS]");
    }
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r =
            owner->learnRemoteKey(int(*key), static_cast<unsigned>(std::ceil(seconds)));
        if (!r.ok()) {
            return failure(r.errorText);
        }
        std::cout << learnedCodeText(static_cast<int>(parseInteger(r.value).value_or(0))) << '\n';
        return 0;
    }
    ProcessorSession session(options);
    if (std::string problem = session.connect(); !problem.empty()) {
        return session.finish(problem);
    }
    const auto code = static_cast<std::uint8_t>(Command::LearnKey);
    const std::uint64_t seen = session.replyCount(code);
    RemoteKeys keys(session.image().remoteKeys, session.sink());
    keys.learn(int(*key));
    const auto wait = milliseconds(static_cast<long long>(seconds * 1000.0 + 0.5));
    const std::optional<Report> reply = session.awaitReply(code, seen, wait);
    if (!reply) {
        keys.stopLearning([&] { session.releasePacing(); });
        char text[64];
        std::snprintf(text, sizeof text, "no key arrived within %g s; learning stopped", seconds);
        return session.finish(text);
    }
    std::cout << learnedCodeText((*reply)[4]) << '\n';
    remoteKeys(session).noteLearned(int(*key), (*reply)[4]);
    return session.finish({});
}

} // namespace

int runRemote(Args args, const GlobalOptions& options) {
    if (args.empty()) {
        return usageError("remote needs push FILE, pull FILE or learn KEY");
    }
    const std::string_view action = args[0];
    if (action == "push") {
        return push(args.subspan(1), options);
    }
    if (action == "pull") {
        return pull(args.subspan(1), options);
    }
    if (action == "learn") {
        return learn(args.subspan(1), options);
    }
    return usageError("remote: unknown action '" + std::string(action) + "' (push, pull or learn)");
}

} // namespace quilo::cli
