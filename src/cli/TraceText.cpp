#include "cli/TraceText.h"

#include "cli/ProcessorSession.h"
#include "device/Command.h"
#include "device/DeviceEvents.h"
#include "model/DeviceImage.h"
#include "model/EqBand.h"
#include "model/ImageDiff.h"
#include "model/InboundDispatcher.h"
#include "model/ParamTable.h"

#include <array>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace quilo::cli {

namespace {

constexpr std::array<std::pair<Command, std::string_view>, 27> kCommandNames{{
    {Command::SetCurrentMode, "SetCurrentMode"},
    {Command::SaveMode, "SaveMode"},
    {Command::LoadMode, "LoadMode"},
    {Command::ResetMode, "ResetMode"},
    {Command::GetCurrentMode, "GetCurrentMode"},
    {Command::SetParam, "SetParam"},
    {Command::GetParam, "GetParam"},
    {Command::PollStatus, "PollStatus"},
    {Command::ZwaveFrame, "ZwaveFrame"},
    {Command::ZwaveWriteMemory, "ZwaveWriteMemory"},
    {Command::ZwaveReadMemory, "ZwaveReadMemory"},
    {Command::LearnKey, "LearnKey"},
    {Command::StopLearn, "StopLearn"},
    {Command::GetRemoteTable, "GetRemoteTable"},
    {Command::SetRemoteTable, "SetRemoteTable"},
    {Command::ResetMachine, "ResetMachine"},
    {Command::GetProtocolVersion, "GetProtocolVersion"},
    {Command::GetModel, "GetModel"},
    {Command::GetFirmwareDate, "GetFirmwareDate"},
    {Command::WriteMemory, "WriteMemory"},
    {Command::ReadMemory, "ReadMemory"},
    {Command::Goodbye, "Goodbye"},
    {Command::SetMachineSettings, "SetMachineSettings"},
    {Command::GetMachineSettings, "GetMachineSettings"},
    {Command::GetModeNames, "GetModeNames"},
    {Command::FirmwareDateB, "FirmwareDateB"},
    {Command::ModeName, "ModeName"},
}};

std::string commandName(std::uint8_t code) {
    for (const auto& [c, name] : kCommandNames) {
        if (codeByte(c) == code) {
            return std::string(name);
        }
    }
    return "unknown";
}

std::string hexCode(std::uint8_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

// The field a parameter address carries, named as decode names it; for a band's
// coefficients band[M,B], for a block the bare address.
std::string paramName(int module, int param) {
    const RowElement at = fieldRowAt(module, param);
    if (at.row && !at.row->field.name.empty()) {
        std::string name(at.row->field.name);
        if (at.row->field.elements > 1) {
            name += '[' + std::to_string(at.element) + ']';
        }
        return name;
    }
    for (const EqualiserRow& eq : kEqualiserTable) {
        if (eq.module == module && param >= eq.firstParam &&
            param < eq.firstParam + eq.storedBands) {
            return "band[" + std::to_string(module) + ',' +
                   std::to_string(eq.firstBand + param - eq.firstParam) + ']';
        }
    }
    return "module " + std::to_string(module) + " param " + std::to_string(param);
}

// The fields a memory range covers, named as decode names them.
std::vector<std::string> memoryNames(int address, int length) {
    std::vector<std::string> names;
    const auto add = [&](std::string name) {
        if (names.empty() || names.back() != name) {
            names.push_back(std::move(name));
        }
    };
    for (int a = address; a < address + length; ++a) {
        if (a < static_cast<int>(kEqBandStoreSize)) {
            const BandSlot slot = bandSlotOfRecord(static_cast<std::size_t>(a) / kEqBandRecordSize);
            add("band[" + std::to_string(slot.module) + ',' + std::to_string(slot.band) + ']');
        } else if (a < kRoomLayoutBlockAddress) {
            add("roomGain[" + std::to_string((a - kRoomGainBlockAddress) / 4) + ']');
        } else if (a < kMicBoostWordAddress) {
            add("roomLayout[" + std::to_string(a - kRoomLayoutBlockAddress) + ']');
        } else if (a < kMicBoostWordAddress + static_cast<int>(kMicBoostWordSize)) {
            add("micBoost");
        }
    }
    return names;
}

// name=value of each name in the image that decoding `report` made; the name alone when
// the image has no such field.
std::string withValues(const DeviceImage& image, const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        const std::string value = imageFieldText(image, name);
        out += ' ' + (value.empty() ? name : name + '=' + value);
    }
    return out;
}

std::unique_ptr<DeviceImage> decoded(const Report& report) {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    DeviceEvents nobody;
    InboundDispatcher(*image, nobody).handleReport(report);
    return image;
}

} // namespace

std::string describeTraceEntry(const TraceEntry& e) {
    const std::uint8_t code = e.bytes[1];
    std::string line = std::to_string(e.timeUs) +
                       (e.direction == TraceDirection::Out ? " out " : " in ") + hexCode(code) +
                       ' ' + commandName(code);
    const int module = e.bytes[3];
    const int param = e.bytes[4];
    const int address = (e.bytes[2] << 8) | e.bytes[3];
    const int length = e.bytes[4];
    const bool out = e.direction == TraceDirection::Out;
    if (code == codeByte(Command::SetParam) && out) {
        // A SetParam carries what a GetParam reply would: decode it as one.
        Report asReply = e.bytes;
        asReply[1] = codeByte(Command::GetParam);
        asReply[2] = 0;
        return line + withValues(*decoded(asReply), {paramName(module, param)});
    }
    if (code == codeByte(Command::GetParam)) {
        if (out) {
            return line + ' ' + paramName(module, param);
        }
        return line + withValues(*decoded(e.bytes), {paramName(module, param)});
    }
    if (code == codeByte(Command::WriteMemory) || (code == codeByte(Command::ReadMemory) && !out)) {
        Report asReply = e.bytes;
        asReply[1] = codeByte(Command::ReadMemory);
        return line + withValues(*decoded(asReply), memoryNames(address, length));
    }
    if (code == codeByte(Command::ReadMemory)) {
        std::string names;
        for (const std::string& n : memoryNames(address, length)) {
            names += ' ' + n;
        }
        return line + names;
    }
    if (!out) {
        const auto before = std::make_unique<DeviceImage>();
        before->resetToDefaults();
        for (const std::string& change : imageDifferences(*before, *decoded(e.bytes))) {
            line += ' ' + change;
        }
    }
    return line;
}

} // namespace quilo::cli
