#include "cli/ProcessorSession.h"

#include "device/HidapiTransport.h"
#include "device/PermissionProblem.h"
#include "device/TracingTransport.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "emulator/EmulatorTransport.h"
#include "model/ImageDiff.h"

#include <cstdio>

namespace quilo::cli {

namespace {

std::unique_ptr<HidTransport> makeTransport(const GlobalOptions& options,
                                            std::unique_ptr<Emulator>& emulator,
                                            EmulatorTransport*& emulatorTransport) {
    std::unique_ptr<HidTransport> transport;
    if (!options.emulate) {
        transport = std::make_unique<HidapiTransport>();
    } else {
        emulator = std::make_unique<Emulator>();
        auto emulated = std::make_unique<EmulatorTransport>(*emulator);
        emulatorTransport = emulated.get();
        transport = std::move(emulated);
    }
    if (options.trace) {
        transport = std::make_unique<TracingTransport>(std::move(transport), options.trace);
    }
    return transport;
}

std::string hex4(unsigned v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", v);
    return text;
}

} // namespace

ProcessorSession::ProcessorSession(GlobalOptions options)
    : m_options(std::move(options)), m_image(std::make_unique<DeviceImage>()),
      m_transport(makeTransport(m_options, m_emulator, m_emulatorTransport)),
      m_log(DebugLog::echoRequestedByEnvironment()), m_dispatcher(*m_image, m_events),
      m_inbound(m_dispatcher), m_link(std::make_unique<UsbLink>(*m_transport, m_replies, m_log)),
      m_pacedSink(*m_link), m_sink(m_pacedSink, m_inbound) {
    m_image->resetToDefaults();
}

ProcessorSession::~ProcessorSession() {
    close();
}

std::string ProcessorSession::open() {
    if (m_emulator && m_options.emulatorFile) {
        const EmulatorFileResult r = loadEmulatorFile(*m_options.emulatorFile, *m_emulator);
        if (!r.ok() && r.status != EmulatorFileStatus::Missing) {
            return "emulator file " + *m_options.emulatorFile + ": " + r.error;
        }
    }
    if (!m_link->openLink()) {
        const SearchResult search = m_link->lastSearch();
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
    m_link->closeLink(true);
    m_inbound.drain();
    if (m_emulatorTransport && m_options.emulatorFile) {
        const EmulatorState state =
            m_emulatorTransport->withEmulator([](Emulator& e) { return e.state(); });
        const EmulatorFileResult r = saveEmulatorFile(*m_options.emulatorFile, state);
        if (!r.ok()) {
            return "emulator file " + *m_options.emulatorFile + ": " + r.error;
        }
    }
    return {};
}

std::string ProcessorSession::connect() {
    if (std::string problem = open(); !problem.empty()) {
        return problem;
    }
    Synchroniser sync(*m_image, m_sink, timings());
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
    Synchroniser(*m_image, m_sink, timings()).pullAll();
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

std::optional<Report> ProcessorSession::awaitReply(std::uint8_t code, std::uint64_t seen,
                                                   std::chrono::milliseconds timeout) {
    std::optional<Report> reply = m_replies.await(code, seen, timeout);
    m_inbound.drain();
    return reply;
}

SyncTimings ProcessorSession::timings() const {
    if (!m_options.emulate) {
        return {};
    }
    using std::chrono::milliseconds;
    return {milliseconds(0), milliseconds(0), milliseconds(0),
            milliseconds(0), milliseconds(0), milliseconds(0)};
}

std::string imageFieldText(const DeviceImage& image, std::string_view name) {
    const std::string prefix = std::string(name) + '=';
    for (const std::string& line : imageFieldLines(image)) {
        if (line.starts_with(prefix)) {
            return line.substr(prefix.size());
        }
    }
    return {};
}

} // namespace quilo::cli
