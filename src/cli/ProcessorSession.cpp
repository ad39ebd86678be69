#include "cli/ProcessorSession.h"

#include "cli/DocumentsFolder.h"
#include "connection/FieldSnapshot.h"
#include "device/PermissionProblem.h"
#include "model/ImageDiff.h"

#include <cstdio>

namespace quilo::cli {

namespace {

SyncTimings syncTimings(const GlobalOptions& options) {
    if (!options.emulate) {
        return {};
    }
    using std::chrono::milliseconds;
    return {milliseconds(0), milliseconds(0), milliseconds(0),
            milliseconds(0), milliseconds(0), milliseconds(0)};
}

ConnectionOptions connectionOptions(const GlobalOptions& options) {
    ConnectionOptions c;
    c.emulate = options.emulate;
    if (options.emulate && options.emulatorFile) {
        c.emulatorFile = *options.emulatorFile;
    }
    c.syncTimings = syncTimings(options);
    // The emulated processor needs no time to settle before the node list.
    if (options.emulate) {
        c.smartHomeTimings.syncSettle = std::chrono::milliseconds(0);
    }
    c.plugFolder = plugKeyFolder();
    c.trace = options.trace;
    // This thread may wait for the processor: its smart-home reports are paced here.
    c.queuedHomeSends = false;
    c.ownerName = "quiloctl";
    return c;
}

std::string hex4(unsigned v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", v);
    return text;
}

} // namespace

ProcessorSession::ProcessorSession(GlobalOptions options, ConnectionEvents* events)
    : m_options(std::move(options)), m_image(std::make_unique<DeviceImage>()) {
    m_image->resetToDefaults();
    m_connection = std::make_unique<ProcessorConnection>(
        *m_image, connectionOptions(m_options), m_loop.poster(), events ? *events : m_nobody);
}

ProcessorSession::~ProcessorSession() {
    close();
}

std::string ProcessorSession::open() {
    if (const std::string& error = m_connection->emulatorLoadError(); !error.empty()) {
        return "emulator file " + m_connection->emulatorFile().string() + ": " + error;
    }
    if (!m_connection->openLink()) {
        if (const auto& owner = m_connection->heldBy()) {
            return "the processor is in use by " + ownerText(*owner);
        }
        const SearchResult search = m_connection->lastSearch();
        if (search.outcome == SearchResult::Outcome::PermissionDenied) {
            return permissionProblemText(kMessageLanguage, search.path);
        }
        return "no processor found (USB vendor " + hex4(kProcessorVendorId) + ", product " +
               hex4(kProcessorProductId) + ")";
    }
    m_open = true;
    return {};
}

void ProcessorSession::forgetIdentity() {
    // Whatever the image held before must not pass for an answer.
    m_image->info = DeviceInfo{};
    m_image->info.protocolVersion = 0;
}

std::string ProcessorSession::identityProblem() const {
    switch (checkIdentity(*m_image)) {
    case IdentityVerdict::Ok:
        return {};
    case IdentityVerdict::ModelMismatch:
        if (m_image->info.modelName.empty()) {
            return "the processor does not answer";
        }
        return "wrong processor model " + imageFieldText(*m_image, "modelName") +
               " (this program works with MIVRAX)";
    case IdentityVerdict::ProtocolMismatch:
        return "the processor speaks protocol version " +
               std::to_string(m_image->info.protocolVersion) + "; this program needs " +
               std::to_string(kExpectedProtocol);
    }
    return {};
}

std::string ProcessorSession::identify(Synchroniser& sync) {
    forgetIdentity();
    sync.requestIdentityTwice();
    return identityProblem();
}

std::string ProcessorSession::close() {
    if (!m_open) {
        return {};
    }
    m_open = false;
    m_connection->closeLink(true);
    m_connection->drainInbound();
    if (std::string error; !m_connection->saveEmulatorState(&error)) {
        return "emulator file " + m_connection->emulatorFile().string() + ": " + error;
    }
    return {};
}

std::string ProcessorSession::connect() {
    if (std::string problem = open(); !problem.empty()) {
        return problem;
    }
    Synchroniser sync(*m_image, sink(), timings());
    return identify(sync);
}

std::string ProcessorSession::readBack() {
    if (std::string problem = open(); !problem.empty()) {
        return problem;
    }
    // The read-back asks for the identity itself and stops on a wrong one.
    forgetIdentity();
    // Replies come in the order of their requests, and a paced write does not wait for the
    // answer to the one just sent: once the last request is answered, every reply is in.
    const auto last = codeByte(Command::GetRemoteTable);
    const std::uint64_t seen = replyCount(last);
    Synchroniser(*m_image, sink(), timings()).pullAll();
    if (identityProblem().empty()) {
        awaitReply(last, seen, kReplyWait);
    }
    // The image is read only once the read thread has stopped writing to it.
    if (std::string problem = close(); !problem.empty()) {
        return problem;
    }
    return identityProblem();
}

int ProcessorSession::finish(const std::string& problem) {
    const std::string closeProblem = close();
    if (!problem.empty()) {
        return failure(problem);
    }
    if (!closeProblem.empty()) {
        return failure(closeProblem);
    }
    return 0;
}

std::uint64_t ProcessorSession::replyCount(std::uint8_t code) const {
    return m_connection->replies().count(code);
}

std::optional<Report> ProcessorSession::awaitReply(std::uint8_t code, std::uint64_t seen,
                                                   std::chrono::milliseconds timeout) {
    std::optional<Report> reply = m_connection->replies().await(code, seen, timeout);
    m_connection->drainInbound();
    return reply;
}

std::string imageFieldText(const DeviceImage& image, std::string_view name) {
    return fieldText(image, name).value_or(std::string());
}

} // namespace quilo::cli
