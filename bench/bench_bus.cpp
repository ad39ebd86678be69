// The processor's owner on the session bus: a SetField round trip from a client to
// quilod on a warm bus, and the owner's look for changed fields (every 50 ms).
// Needs a session bus: dbus-run-session -- build/bench/bench_bus
#include "bus/OwnerClient.h"
#include "connection/FieldSnapshot.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// quilod --emulate as a child, for as long as the benchmark runs.
struct Owner {
    pid_t pid = -1;
    std::unique_ptr<quilo::OwnerClient> client;

    Owner() {
        pid = ::fork();
        if (pid == 0) {
            ::execl(QUILOD_PATH, "quilod", "--emulate", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 200 && !client; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            client = quilo::OwnerClient::connect(pid);
        }
    }
    ~Owner() {
        client.reset();
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
};

void BM_SetFieldRoundTrip(benchmark::State& state) {
    Owner owner;
    if (!owner.client) {
        state.SkipWithError("no owner on the session bus (run under dbus-run-session)");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        const auto reply = owner.client->setField("micVolume", std::to_string(value++ % 100));
        if (!reply.ok()) {
            state.SkipWithError(reply.errorText.c_str());
            break;
        }
    }
}
BENCHMARK(BM_SetFieldRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_GetFieldRoundTrip(benchmark::State& state) {
    Owner owner;
    if (!owner.client) {
        state.SkipWithError("no owner on the session bus (run under dbus-run-session)");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(owner.client->getField("micVolume"));
    }
}
BENCHMARK(BM_GetFieldRoundTrip)->Unit(benchmark::kMicrosecond);

// What the owner's thread spends every 50 ms looking for changes.
void BM_FieldSnapshotLook(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    quilo::FieldSnapshot snapshot;
    snapshot.update(*image);
    for (auto _ : state) {
        benchmark::DoNotOptimize(snapshot.update(*image));
    }
}
BENCHMARK(BM_FieldSnapshotLook)->Unit(benchmark::kMicrosecond);

} // namespace
