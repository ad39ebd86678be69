#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/FileProblem.h"
#include "cli/OwnerRoute.h"
#include "cli/ProcessorSession.h"
#include "device/HidapiTransport.h"
#include "device/NodeAccess.h"
#include "device/PermissionProblem.h"
#include "device/ReportBuilder.h"
#include "emulator/EmulatorTransport.h"
#include "model/ModeFile.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace quilo::cli {

// pull OUT: reads everything back from the processor into a mode file.
int runPull(Args args, const GlobalOptions& options) {
    if (args.size() != 1) {
        return usageError("pull needs OUT");
    }
    const std::string out(args[0]);
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r = owner->pull(std::filesystem::absolute(out).string());
        return r.ok() ? 0 : failure(r.errorText);
    }
    ProcessorSession session(options);
    std::string problem = session.readBack();
    if (problem.empty()) {
        const ModeFileResult r = writeModeOutput(out, session.image());
        problem = modeFileProblem(r, out);
    }
    return problem.empty() ? 0 : failure(problem);
}

// push IN: loads a mode file and writes it all out to the processor.
int runPush(Args args, const GlobalOptions& options) {
    if (args.size() != 1) {
        return usageError("push needs IN");
    }
    const std::string in(args[0]);
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r = owner->push(std::filesystem::absolute(in).string());
        return r.ok() ? 0 : failure(r.errorText);
    }
    ProcessorSession session(options);
    // A bad file is reported before anything reaches the processor.
    const ModeFileResult r = readModeInput(in, session.image());
    if (!r.ok()) {
        return failure(modeFileProblem(r, in));
    }
    if (std::string problem = session.connect(); !problem.empty()) {
        return session.finish(problem);
    }
    // Volume recall decides whether the volumes come up as a ramp, so the push
    // starts once the machine settings are in the image.
    const auto settings = static_cast<std::uint8_t>(Command::GetMachineSettings);
    const std::uint64_t seen = session.replyCount(settings);
    session.sink().send(buildCommand(Command::GetMachineSettings));
    session.awaitReply(settings, seen, kReplyWait);
    Synchroniser sync(session.image(), session.sink(), session.timings());
    sync.pushAll();
    // A file named m1..m4 is also stored into that mode memory, as the program does.
    if (const int slot = modeSlotFromFileName(in); slot >= 0) {
        sync.storeIntoMode(slot);
    }
    return session.finish({});
}

namespace {

// info as the owner of the processor knows it: its image holds the identity
// since its read-back.
int infoFromOwner(OwnerClient& owner) {
    if (!owner.connected()) {
        return failure("the processor's owner " + owner.owner() + " has no processor connected");
    }
    const std::string model = owner.getField("modelName").value;
    if (!model.empty()) {
        std::cout << "model: " << model << '\n'
                  << "firmwareDateA: " << owner.getField("firmwareDateA").value << '\n'
                  << "firmwareDateB: " << owner.getField("firmwareDateB").value << '\n'
                  << "protocolVersion: " << owner.protocolVersion() << '\n';
    }
    return 0;
}

} // namespace

// info: model, firmware dates and protocol version of the processor.
int runInfo(Args args, const GlobalOptions& options) {
    if (!args.empty()) {
        return usageError("info takes no arguments");
    }
    if (auto owner = ownerOfProcessor(options)) {
        return infoFromOwner(*owner);
    }
    ProcessorSession session(options);
    if (std::string problem = session.open(); !problem.empty()) {
        return failure(problem);
    }
    Synchroniser sync(session.image(), session.sink(), session.timings());
    const std::string problem = session.identify(sync);
    // The firmware dates come in two replies; give the second one time to arrive.
    session.sink().send(buildCommand(Command::GetCurrentMode));
    session.sink().pause(std::chrono::milliseconds(100));
    const std::string closeProblem = session.close();
    const DeviceImage& image = session.image();
    if (!image.info.modelName.empty()) {
        std::cout << "model: " << imageFieldText(image, "modelName") << '\n'
                  << "firmwareDateA: " << imageFieldText(image, "firmwareDateA") << '\n'
                  << "firmwareDateB: " << imageFieldText(image, "firmwareDateB") << '\n'
                  << "protocolVersion: " << int(image.info.protocolVersion) << '\n';
    }
    if (!problem.empty()) {
        return failure(problem);
    }
    return closeProblem.empty() ? 0 : failure(closeProblem);
}

// devices: the attached processors, one per line as PATH VENDOR PRODUCT (hex),
// with " not-accessible" after a processor this user may not open.
int runDevices(Args args, const GlobalOptions& options) {
    if (!args.empty()) {
        return usageError("devices takes no arguments");
    }
    std::vector<std::pair<std::string, HidAttributes>> found;
    if (options.emulate) {
        Emulator emulator;
        EmulatorTransport transport(emulator);
        for (const std::string& path : transport.interfacePaths()) {
            if (transport.open(path)) {
                found.emplace_back(path, transport.attributes().value_or(HidAttributes{}));
                transport.close();
            }
        }
    } else {
        found = HidapiTransport::enumerate();
    }
    std::string firstLocked;
    for (const auto& [path, ids] : found) {
        if (!isProcessor(ids)) {
            continue;
        }
        // The emulated processor is always there to be opened.
        const bool locked =
            !options.emulate && checkNodeAccess(path) == NodeAccess::PermissionDenied;
        std::printf("%s %04X %04X%s\n", path.c_str(), unsigned(ids.vendorId),
                    unsigned(ids.productId), locked ? " not-accessible" : "");
        if (locked && firstLocked.empty()) {
            firstLocked = path;
        }
    }
    std::fflush(stdout);
    if (!firstLocked.empty()) {
        // The listing itself worked; the explanation goes beside it.
        std::cerr << "quiloctl: " << permissionProblemText(kMessageLanguage, firstLocked) << '\n';
    }
    return 0;
}

} // namespace quilo::cli
