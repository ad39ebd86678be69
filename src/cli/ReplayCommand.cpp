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

// One outgoing report of the trace and the replies recorded after it, up to the next.
struct Exchange {
    int line = 0;
    TraceEntry request;
    std::vector<TraceEntry> replies;
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

bool readExchanges(const std::string& file, std::vector<Exchange>& exchanges) {
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
            exchanges.push_back({number, *entry, {}});
        } else if (!exchanges.empty()) {
            exchanges.back().replies.push_back(*entry);
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

// Prints the differences of one exchange; returns how many there were.
int compare(const Exchange& x, std::span<const TraceEntry> got) {
    int differences = 0;
    const auto head = [&] {
        std::cout << "line " << x.line << ": " << describeTraceEntry(x.request) << '\n';
    };
    for (std::size_t i = 0; i < std::max(x.replies.size(), got.size()); ++i) {
        if (i < x.replies.size() && i < got.size() && sameReply(x.replies[i], got[i])) {
            continue;
        }
        if (differences++ == 0) {
            head();
        }
        if (i < x.replies.size()) {
            std::cout << "  recorded: " << hexOf(x.replies[i]) << '\n';
        } else {
            std::cout << "  recorded: (nothing)\n";
        }
        if (i < got.size()) {
            std::cout << "  now:      " << hexOf(got[i]) << '\n';
        } else {
            std::cout << "  now:      (nothing)\n";
        }
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
    std::vector<Exchange> exchanges;
    if (!readExchanges(file, exchanges)) {
        return failure("cannot read the trace file " + file);
    }

    GlobalOptions replayOptions = options;
    const auto collector = std::make_shared<ReplyCollector>(options.trace);
    replayOptions.trace = collector;
    ProcessorSession session(replayOptions);
    if (std::string problem = session.open(); !problem.empty()) {
        return session.finish(problem);
    }

    int differences = 0;
    std::size_t consumed = 0;
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
        const std::vector<TraceEntry> got =
            x.replies.empty() ? collector->await(consumed, std::chrono::milliseconds(0))
                              : collector->await(consumed + x.replies.size(), kReplyWait);
        differences += compare(x, std::span(got).subspan(consumed));
        consumed = got.size();
    }
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
