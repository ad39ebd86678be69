#include "emulator/ParamMemory.h"

#include "device/BigEndian.h"
#include "device/Command.h"
#include "emulator/Replies.h"
#include "model/ParamTable.h"

#include <algorithm>

namespace quilo {

namespace {

std::uint8_t lookup(const ParamMap& params, ParamKey key, ParamMap::const_iterator& found) {
    if (key.module < kFirstModule || key.module >= kFirstOutputModule + kOutputCount) {
        return param_status::kUnknownModule;
    }
    found = params.find(key);
    return found == params.end() ? param_status::kUnknownParam : param_status::kOk;
}

Report header(std::uint8_t code, std::uint8_t status, const Report& request) {
    return replyOf(code, {status, request[3], request[4], request[5]});
}

} // namespace

Report applySetParam(ParamMap& params, const Report& request) {
    const ParamKey key{request[3], request[4]};
    const std::size_t count = request[5];
    ParamMap::const_iterator found = params.end();
    std::uint8_t status = lookup(params, key, found);
    if (status == param_status::kOk && (count > kMaxParamWords || count > found->second.size())) {
        status = param_status::kBadCount;
    }
    if (status == param_status::kOk) {
        auto& words = params[key];
        for (std::size_t i = 0; i < count; ++i) {
            words[i] = readU32(request, 6 + 4 * i);
        }
    }
    return header(static_cast<std::uint8_t>(Command::SetParam), status, request);
}

Report answerGetParam(const ParamMap& params, const Report& request, std::uint8_t forcedStatus) {
    const ParamKey key{request[3], request[4]};
    const std::size_t count = request[5];
    ParamMap::const_iterator found = params.end();
    std::uint8_t status = lookup(params, key, found);
    if (count == 0 || count > kMaxParamWords) {
        status = param_status::kBadCount;
    }
    if (forcedStatus != param_status::kOk) {
        status = forcedStatus;
    }
    Report r = header(static_cast<std::uint8_t>(Command::GetParam), status, request);
    if (found != params.end() && count <= kMaxParamWords) {
        const std::size_t known = std::min(count, found->second.size());
        for (std::size_t i = 0; i < known; ++i) {
            writeU32(r, 6 + 4 * i, found->second[i]);
        }
    }
    return r;
}

} // namespace quilo
