#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "cli/DocumentsFolder.h"
#include "cli/OwnerRoute.h"
#include "cli/ProcessorSession.h"
#include "device/ReportHex.h"
#include "model/ImageDiff.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/PlugJoining.h"
#include "smarthome/SmartHome.h"
#include "smarthome/StepText.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <vector>

namespace quilo::cli {

namespace {

constexpr int kEnglish = 1;
constexpr int kJoinQuietSeconds = 30;

// Keeps the ends of sends the module reports, for `plug` to wait on; told on
// the main thread while it runs the session's loop.
class SendDoneEvents : public ConnectionEvents {
public:
    void zwaveEvent(const ZwaveEvent& event) override {
        if (event.function == zwave_function::kSendDone) {
            m_ends.push_back(event);
        }
        if (m_joining != nullptr && !m_joined.finished) {
            m_joined = m_joining->handle(event);
        }
    }
    // Hands the module's frames to a plug joining or leaving the network.
    void follow(PlugJoining* joining) {
        m_joining = joining;
        m_joined = {};
    }
    const PlugJoining::Outcome& joined() const { return m_joined; }

    // The status of the first end of send with callback id `callback` seen so far.
    std::optional<int> end(int callback) const {
        for (const ZwaveEvent& e : m_ends) {
            if (e.high() == callback) {
                return e.low();
            }
        }
        return std::nullopt;
    }

private:
    std::vector<ZwaveEvent> m_ends;
    PlugJoining* m_joining = nullptr;
    PlugJoining::Outcome m_joined;
};

// A connection with its smart home in use. The workers' steps run on the calling
// thread, which may wait for the processor.
class HomeSession {
public:
    explicit HomeSession(const GlobalOptions& options) : m_session(options, &m_events) {}

    // Opens the link and checks the processor's identity; empty on success.
    std::string open() {
        if (std::string problem = m_session.open(); !problem.empty()) {
            return problem;
        }
        Synchroniser sync(m_session.image(), m_session.sink(), m_session.timings());
        return m_session.identify(sync);
    }
    // Node list, plug records and scenes, as the smart-plug window gets them.
    std::string synchronise() {
        home().workers().synchronise({});
        return home().table().plugsSynced() ? "" : "the Z-Wave module did not send its node list";
    }
    // The status of the end of send with callback id `callback`, or nullopt when
    // none came within `timeout`.
    std::optional<int> waitForEnd(int callback, std::chrono::milliseconds timeout) {
        std::optional<int> status;
        m_session.loop().runUntil(
            [&] {
                status = m_events.end(callback);
                return status.has_value();
            },
            timeout);
        return status;
    }
    // A plug joining (or leaving) the network: the joined plug's id, or a problem.
    std::string join(PlugJoining::Kind kind, int type, const std::string& name, int* id) {
        PlugJoining joining(home());
        std::string problem;
        if (!joining.start(kind, type, name, &problem)) {
            return problem;
        }
        m_events.follow(&joining);
        // Two presses (out of the old network, into this one) at most.
        const auto quiet = std::chrono::seconds(kJoinQuietSeconds);
        m_session.loop().runUntil([&] { return m_events.joined().finished; }, quiet * 2);
        PlugJoining::Outcome outcome = m_events.joined();
        m_events.follow(nullptr);
        if (!outcome.finished) {
            outcome = joining.abandon();
        }
        *id = outcome.id;
        return outcome.problem;
    }
    // Closes the link; the first problem of `problem` and the closing decides the exit.
    int finish(const std::string& problem) { return m_session.finish(problem); }

    SmartHome& home() { return m_session.home(); }

private:
    SendDoneEvents m_events; // before the session, which tells it
    ProcessorSession m_session;
};

std::optional<int> parseInRange(std::string_view text, int low, int high) {
    const auto v = parseInteger(text);
    if (!v || *v < low || *v > high) {
        return std::nullopt;
    }
    return static_cast<int>(*v);
}

} // namespace

// plugs add switch|dimmer|ir [NAME] | plugs remove: the plug whose button is pressed
// joins (first leaving any network it was in) or leaves; prints its ID.
int joinPlug(Args args, const GlobalOptions& options) {
    const bool add = args[0] == "add";
    const std::vector<std::string_view> types{"switch", "dimmer", "ir"};
    const auto type = add && args.size() >= 2
                          ? std::find(types.begin(), types.end(), args[1]) - types.begin() + 1
                          : 0;
    if (add ? (args.size() < 2 || args.size() > 3 || type > 3) : args.size() != 1) {
        return usageError("plugs needs add switch|dimmer|ir [NAME] or remove");
    }
    const std::string name = args.size() == 3 ? std::string(args[2]) : std::string();
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r =
            add ? owner->includePlug(std::string(args[1]), name) : owner->excludePlug();
        if (!r.ok()) {
            return failure(r.errorText);
        }
        std::cout << r.value << '\n';
        return 0;
    }
    HomeSession s(options);
    std::string problem = s.open();
    if (problem.empty()) {
        problem = s.synchronise();
    }
    int id = 0;
    if (problem.empty()) {
        problem = s.join(add ? PlugJoining::Kind::Add : PlugJoining::Kind::Remove,
                         static_cast<int>(type), name, &id);
    }
    if (const int status = s.finish(problem); status != 0) {
        return status;
    }
    if (id == 0) {
        std::cerr << "quiloctl: the plug whose button was pressed was in no network\n";
    }
    std::cout << id << '\n';
    return 0;
}

// plugs: synchronises, then one line per present plug: ID TYPE NAME.
int runPlugs(Args args, const GlobalOptions& options) {
    if (!args.empty() && (args[0] == "add" || args[0] == "remove")) {
        return joinPlug(args, options);
    }
    if (!args.empty()) {
        return usageError("plugs takes no arguments, or add TYPE [NAME], or remove");
    }
    if (auto owner = ownerOfProcessor(options)) {
        OwnerClient::Reply r;
        const std::vector<OwnerClient::Plug> plugs = owner->plugs(&r);
        if (!r.ok()) {
            return failure(r.errorText);
        }
        for (const OwnerClient::Plug& p : plugs) {
            std::cout << p.id << ' ' << p.type << ' ' << printableText(p.name) << '\n';
        }
        return 0;
    }
    HomeSession s(options);
    std::string problem = s.open();
    if (problem.empty()) {
        problem = s.synchronise();
    }
    if (problem.empty()) {
        const PlugTableData table = s.home().table().snapshot();
        for (int id : table.plugIds()) {
            const PlugRecord r = table.record(id);
            std::cout << id << ' ' << int(r.type()) << ' ' << printableText(r.name()) << '\n';
        }
    }
    return s.finish(problem);
}

// plug ID VALUE: one Basic Set, then the module's report of its end.
int runPlug(Args args, const GlobalOptions& options) {
    if (args.size() != 2) {
        return usageError("plug needs ID VALUE");
    }
    const auto id = parseInRange(args[0], 1, kLastPlugId);
    const auto value = parseInRange(args[1], 0, 255);
    if (!id || !value) {
        return usageError("plug needs an ID of 1-232 and a VALUE of 0-255");
    }
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r = owner->setPlug(*id, *value);
        return r.ok() ? 0 : failure(r.errorText);
    }
    HomeSession s(options);
    std::string problem = s.open();
    if (problem.empty()) {
        s.home().commands().sendFrame(buildSendBasicSet(*id, *value));
        const auto timeout = s.home().workers().timings().ackTimeout();
        const auto status = s.waitForEnd(basicSetCallback(*value), timeout);
        if (!status) {
            problem = "no end of send from the Z-Wave module within " +
                      std::to_string(timeout.count() / 1000) + " s";
        } else if (*status != 0) {
            problem = "plug " + std::to_string(*id) + " did not acknowledge the command";
        }
    }
    return s.finish(problem);
}

// scene show N | scene run N
int runScene(Args args, const GlobalOptions& options) {
    if (args.size() != 2 || (args[0] != "show" && args[0] != "run")) {
        return usageError("scene needs show N or run N");
    }
    const auto scene = parseInRange(args[1], 0, kSceneCount - 1);
    if (!scene) {
        return usageError("scene needs a scene number of 0-5");
    }
    if (args[0] == "run") {
        if (auto owner = ownerOfProcessor(options)) {
            const OwnerClient::Reply r = owner->runScene(*scene);
            return r.ok() ? 0 : failure(r.errorText);
        }
    }
    HomeSession s(options);
    std::string problem = s.open();
    if (problem.empty()) {
        problem = s.synchronise();
    }
    if (problem.empty() && args[0] == "show") {
        for (const SceneStep& step : s.home().table().scene(*scene)) {
            if (step.node != kEmptyStep) {
                std::cout << int(step.node) << ' ' << int(step.value) << ' '
                          << s.home().stepText(step.node, step.value, kEnglish) << '\n';
            }
        }
    } else if (problem.empty()) {
        s.home().workers().runScene(*scene, {});
    }
    return s.finish(problem);
}

// frame NAME [ID VALUE]: one Z-Wave request as the report that carries it.
int runFrame(Args args) {
    if (args.empty()) {
        return usageError("frame needs NAME");
    }
    const std::string_view name = args[0];
    int id = 0;
    int value = 0;
    RemoveStop form = RemoveStop::AfterRemoval;
    if (name == "SendBasicSet") {
        if (args.size() != 3) {
            return usageError("frame SendBasicSet needs ID VALUE");
        }
        const auto i = parseInRange(args[1], 0, 255);
        const auto v = parseInRange(args[2], 0, 255);
        if (!i || !v) {
            return usageError("frame SendBasicSet needs an ID and a VALUE of 0-255");
        }
        id = *i;
        value = *v;
    } else if (name == "RemoveNodeStop" && args.size() == 2 && args[1] == "cancel") {
        form = RemoveStop::Cancelled;
    } else if (args.size() != 1) {
        return usageError("frame " + std::string(name) + " takes no further arguments");
    }
    const auto report = buildZwaveRequest(name, id, value, form);
    if (!report) {
        return usageError("unknown frame '" + std::string(name) +
                          "' (GetInitData, SetDefault, AddNodeStart, AddNodeStop, RemoveNodeStart, "
                          "RemoveNodeStop [cancel], SendBasicSet ID VALUE, SendAbort)");
    }
    std::cout << formatReportHex(*report) << '\n';
    return 0;
}

} // namespace quilo::cli
