#include "cli/Commands.h"
#include "cli/ProcessorSession.h"
#include "cli/TraceText.h"
#include "connection/ReplyWatch.h"
#include "device/Command.h"
#include "device/ReportHex.h"
#include "device/TraceSink.h"

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace quilo::cli {

namespace {

// Longest recorded pause kept between two reports: the program's own timed steps are
// far shorter, anything longer is a user who was not busy.
constexpr std::chrono::microseconds kLongestPause{2'000'000};

// One outgoing report of the trace and how many replies were recorded after it, up to the next.
struct Exchange {
    int line = 0;
    TraceEntry request;
    std::size_t replies = 0;
};

// A recorded reply and the exchange it was recorded in.
struct RecordedReply {
    std::size_t exchange = 0;
    TraceEntry reply;
};

// The trace as the processor saw it: outgoing reports with their timing, and the replies as
// one stream in arrival order. A reply may arrive after the next report went out, so replies
// are compared with the replay's in order, not exchange by exchange.
struct Trace {
    std::vector<Exchange> exchanges;
    std::vector<RecordedReply> replies;
};

// Collects what the processor answers during the replay, and passes everything on to
// the trace file when the replay itself is traced.
class ReplyCollector : public TraceSink {
public:
    explicit ReplyCollector(std::shared_ptr<TraceSink> next) : m_next(std::move(next)) {}

    void record(const TraceEntry& entry) override {
        if (m_next) {
            m_next->record(entry);
        }
        if (entry.direction == TraceDirection::In) {
            std::lock_guard lock(m_mutex);
            m_replies.push_back(entry);
            m_arrived.notify_all();
        }
    }
    // Waits until at least `count` replies came in all, at most `timeout`.
    std::vector<TraceEntry> await(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, timeout, [&] { return m_replies.size() >= count; });
        return m_replies;
    }

private:
    std::shared_ptr<TraceSink> m_next;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<TraceEntry> m_replies;
};

bool readTrace(const std::string& file, Trace& trace) {
    std::ifstream in(file);
    if (!in) {
        return false;
    }
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const auto entry = parseTraceLine(text);
        if (!entry) {
            continue; // a torn last line or a note someone added
        }
        if (entry->direction == TraceDirection::Out) {
            trace.exchanges.push_back({number, *entry, 0});
        } else if (!trace.exchanges.empty()) {
            trace.exchanges.back().replies++;
            trace.replies.push_back({trace.exchanges.size() - 1, *entry});
        }
    }
    return true;
}

// Meters and wireless-microphone data move all the time.
bool carriesLiveValues(const TraceEntry& reply) {
    return reply.bytes[1] == codeByte(Command::PollStatus);
}

bool sameReply(const TraceEntry& recorded, const TraceEntry& now) {
    if (recorded.length != now.length || recorded.bytes[1] != now.bytes[1]) {
        return false;
    }
    if (carriesLiveValues(recorded)) {
        return true;
    }
    const auto n = static_cast<std::ptrdiff_t>(recorded.length);
    return std::equal(recorded.bytes.begin(), recorded.bytes.begin() + n, now.bytes.begin());
}

std::string hexOf(const TraceEntry& e) {
    return formatHexBytes(std::span(e.bytes).first(e.length));
}

// Prints where the replies of the replay differ from the recorded ones; returns how many do.
// Each difference is headed by the outgoing report the recorded reply came after.
int compare(const Trace& trace, std::span<const TraceEntry> got) {
    int differences = 0;
    std::size_t headed = trace.exchanges.size(); // none yet
    for (std::size_t i = 0; i < std::max(trace.replies.size(), got.size()); ++i) {
        const bool recorded = i < trace.replies.size();
        if (recorded && i < got.size() && sameReply(trace.replies[i].reply, got[i])) {
            continue;
        }
        ++differences;
        const std::size_t exchange =
            recorded ? trace.replies[i].exchange : trace.exchanges.size() - 1;
        if (exchange != headed) {
            const Exchange& x = trace.exchanges[exchange];
            std::cout << "line " << x.line << ": " << describeTraceEntry(x.request) << '\n';
            headed = exchange;
        }
        std::cout << "  recorded: " << (recorded ? hexOf(trace.replies[i].reply) : "(nothing)")
                  << '\n';
        std::cout << "  now:      " << (i < got.size() ? hexOf(got[i]) : "(nothing)") << '\n';
    }
    return differences;
}

} // namespace

// replay TRACE: the trace's outgoing reports again, each reply compared with the recorded one.
int runReplay(Args args, const GlobalOptions& options) {
    if (args.size() != 1) {
        return usageError("replay needs TRACE");
    }
    const std::string file(args[0]);
    Trace trace;
    if (!readTrace(file, trace)) {
        return failure("cannot read the trace file " + file);
    }
    const std::vector<Exchange>& exchanges = trace.exchanges;

    GlobalOptions replayOptions = options;
    const auto collector = std::make_shared<ReplyCollector>(options.trace);
    replayOptions.trace = collector;
    ProcessorSession session(replayOptions);
    if (std::string problem = session.open(); !problem.empty()) {
        return session.finish(problem);
    }

    std::size_t expected = 0; // replies recorded up to the report just sent
    auto lastSent = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < exchanges.size(); ++i) {
        const Exchange& x = exchanges[i];
        if (i > 0) {
            // Keep the program's timed pauses (ramps, settling) as they were recorded.
            const std::uint64_t gapUs = x.request.timeUs - exchanges[i - 1].request.timeUs;
            const auto gap = std::min(std::chrono::microseconds(gapUs), kLongestPause);
            std::this_thread::sleep_until(lastSent + gap);
        }
        lastSent = std::chrono::steady_clock::now();
        if (session.link().WriteUsbData(x.request.bytes) <= 0) {
            return session.finish("the processor went away at line " + std::to_string(x.line));
        }
        // Let the replies the recording had by now come in before the next report goes out.
        expected += x.replies;
        if (x.replies > 0) {
            collector->await(expected, kReplyWait);
        }
    }
    const std::vector<TraceEntry> got = collector->await(trace.replies.size(), kReplyWait);
    const int differences = compare(trace, got);
    const std::string problem = session.close();
    if (!problem.empty()) {
        return failure(problem);
    }
    if (differences > 0) {
        std::cout << differences << " replies differ\n";
        return kFailure;
    }
    return 0;
}

} // namespace quilo::cli
