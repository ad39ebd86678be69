#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "cli/FieldArgs.h"
#include "cli/OwnerRoute.h"
#include "cli/ProcessorSession.h"
#include "connection/FieldSnapshot.h"
#include "connection/NamedField.h"
#include "connection/OwnerLock.h"
#include "device/ReportBuilder.h"
#include "model/FieldSetters.h"

#include <algorithm>
#include <iostream>

namespace quilo::cli {

namespace {

// A refusal of the owner as the direct path words it: a bad name or value is a
// usage error, anything else a failure.
int ownerRefused(std::string_view command, const OwnerClient::Reply& reply) {
    const std::string text = std::string(command) + ": " + reply.errorText;
    return reply.invalidArgs() ? usageError(text) : failure(text);
}

} // namespace

// get FIELD: one field of the processor as decode prints it.
int runGet(Args args, const GlobalOptions& options) {
    if (args.size() != 1) {
        return usageError("get needs FIELD");
    }
    const std::string name(args[0]);
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply reply = owner->getField(name);
        if (!reply.ok()) {
            return ownerRefused("get", reply);
        }
        std::cout << reply.value << '\n';
        return 0;
    }
    ProcessorSession session(options);
    if (!fieldText(session.image(), name)) {
        return usageError("get: unknown field '" + name + "'");
    }
    if (std::string problem = session.readBack(); !problem.empty()) {
        return failure(problem);
    }
    std::cout << *fieldText(session.image(), name) << '\n';
    return 0;
}

// set FIELD VALUE: sends one field as the program's setter does.
int runSet(Args args, const GlobalOptions& options) {
    std::string problem;
    const auto parsed = parseFieldArgs("set", args, problem);
    if (!parsed) {
        return usageError(problem);
    }
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply reply =
            owner->setField(std::string(args[0]), std::string(args[1]));
        return reply.ok() ? 0 : ownerRefused("set", reply);
    }
    ProcessorSession session(options);
    if (std::string problem = session.connect(); !problem.empty()) {
        return session.finish(problem);
    }
    FieldSetters setters(session.image(), session.sink());
    if (problem = setNamedField(setters, parsed->field, parsed->value); !problem.empty()) {
        session.close();
        return usageError("set: " + problem);
    }
    return session.finish({});
}

// mode recall N | mode store N: a stored mode (0-3) into the setting, or the setting into it.
int runMode(Args args, const GlobalOptions& options) {
    const auto mode = args.size() == 2 ? parseInteger(args[1]) : std::nullopt;
    if (!mode || (args[0] != "recall" && args[0] != "store") || *mode < 0 || *mode > 3) {
        return usageError("mode needs recall N or store N, N a stored mode 0-3");
    }
    const bool recall = args[0] == "recall";
    if (auto owner = ownerOfProcessor(options)) {
        const OwnerClient::Reply r =
            recall ? owner->recallMode(int(*mode)) : owner->storeMode(int(*mode));
        return r.ok() ? 0 : ownerRefused("mode", r);
    }
    ProcessorSession session(options);
    if (std::string problem = session.connect(); !problem.empty()) {
        return session.finish(problem);
    }
    session.sink().send(buildCommand(recall ? Command::LoadMode : Command::SaveMode,
                                     {static_cast<std::uint8_t>(*mode)}));
    return session.finish({});
}

// watch [FIELD...]: name=value lines as the owner tells of changes, until interrupted.
int runWatch(Args args, const GlobalOptions& options) {
    auto owner = ownerOfProcessor(options);
    if (!owner) {
        return failure("watch needs the processor's owner on the session bus (quilod or quilo)");
    }
    const std::vector<std::string> wanted(args.begin(), args.end());
    owner->watch([&](const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), name) == wanted.end()) {
                continue;
            }
            const OwnerClient::Reply reply = owner->getField(name);
            if (reply.ok()) {
                std::cout << name << '=' << reply.value << std::endl;
            }
        }
        return true;
    });
    return 0;
}

// owner: who owns which processor, one line each: PROCESSOR PROGRAM PID.
int runOwner(Args args) {
    if (!args.empty()) {
        return usageError("owner takes no arguments");
    }
    for (const ProcessorOwner& owner : OwnerLock::owners()) {
        std::cout << owner.processor << ' ' << owner.program << ' ' << owner.pid << '\n';
    }
    return 0;
}

} // namespace quilo::cli
