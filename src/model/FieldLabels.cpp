#include "model/FieldLabels.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace quilo {

namespace {

enum class Unit {
    Plain,
    Percent,
    Db,
    Ms,
    Hz,
    Ratio,
    On,         // 1 on, 0 off
    Active,     // 0 active, 1 bypassed: shown as on/off of the function
    Assigned,   // 100 assigned, 0 not
    Steps,      // key shift
    ReverbTime, // hundredths, shown in ms as the music page does
    PerTenThousand,
};

// Whose field: an array of eight is per output channel, an array of four per microphone.
enum class Index { None, Output, MicInput };

struct Label {
    std::string_view name;
    const char* zh;
    const char* en;
    Unit unit;
    Index index = Index::None;
};

using enum Unit;
constexpr Label kLabels[] = {
    {"micInputVolume", "音量", "volume", Percent, Index::MicInput},
    {"micGate", "噪声门", "noise gate", PerTenThousand, Index::MicInput},
    {"micToA", "接入A通道", "to mic CH A", Assigned, Index::MicInput},
    {"micToB", "接入B通道", "to mic CH B", Assigned, Index::MicInput},
    {"subDecayOn", "超低音衰减", "SUB decay", On},
    {"subDecayLevel", "超低音衰减电平", "SUB decay level", Percent},
    {"micVolume", "话筒音量", "Mic volume", Percent},
    {"micMute", "话筒静音", "Mic mute", On},
    {"micAEqSwitch", "话筒通道A均衡", "Mic CH A EQ", Active},
    {"micBEqSwitch", "话筒通道B均衡", "Mic CH B EQ", Active},
    {"shiftFreqA", "A通道话筒移频", "CH A shift frequency", Hz},
    {"shiftFreqB", "B通道话筒移频", "CH B shift frequency", Hz},
    {"shiftOffA", "A通道移频关闭", "CH A shift off", On},
    {"shiftOffB", "B通道移频关闭", "CH B shift off", On},
    {"effectVolume", "效果音量", "Effect volume", Percent},
    {"micBoostOn", "话筒增强", "Mic boost", On},
    {"micBoostOnCopy", "话筒增强（副本）", "Mic boost (copy)", On},
    {"echoEqSwitchA", "A通道回声均衡", "CH A echo EQ", Active},
    {"echoEqSwitchB", "B通道回声均衡", "CH B echo EQ", Active},
    {"echoLevelA", "A通道回声电平", "CH A echo level", Percent},
    {"echoLevelB", "B通道回声电平", "CH B echo level", Percent},
    {"echoPredelayMsA", "A通道回声预延时", "CH A echo predelay", Ms},
    {"echoPredelayMsB", "B通道回声预延时", "CH B echo predelay", Ms},
    {"echoTimeMsA", "A通道回声间隔", "CH A echo time", Ms},
    {"echoTimeMsB", "B通道回声间隔", "CH B echo time", Ms},
    {"echoStartVolA", "A通道回声起始音量", "CH A echo start vol", Percent},
    {"echoStartVolB", "B通道回声起始音量", "CH B echo start vol", Percent},
    {"echoDecayA", "A通道回声衰减比例", "CH A echo vol decay", Percent},
    {"echoDecayB", "B通道回声衰减比例", "CH B echo vol decay", Percent},
    {"echoVolume", "回声音量", "Echo volume", Percent},
    {"echoMute", "回声静音", "Echo mute", On},
    {"reverbEqSwitchA", "A通道混响均衡", "CH A reverb EQ", Active},
    {"reverbEqSwitchB", "B通道混响均衡", "CH B reverb EQ", Active},
    {"reverbLevelA", "A通道混响电平", "CH A reverb level", Percent},
    {"reverbLevelB", "B通道混响电平", "CH B reverb level", Percent},
    {"reverbPredelayMsA", "A通道混响预延时", "CH A reverb predelay", Ms},
    {"reverbPredelayMsB", "B通道混响预延时", "CH B reverb predelay", Ms},
    {"reverbTimeA", "A通道混响时长", "CH A reverb time", ReverbTime},
    {"reverbTimeB", "B通道混响时长", "CH B reverb time", ReverbTime},
    {"reverbVolume", "混响音量", "Reverb volume", Percent},
    {"reverbMute", "混响静音", "Reverb mute", On},
    {"musicEqSwitch", "音乐均衡", "Music EQ", Active},
    {"musicVolume", "音乐音量", "Music volume", Percent},
    {"musicMute", "音乐静音", "Music mute", On},
    {"musicCompThreshold", "音乐压缩阈值", "Music compressor threshold", Db},
    {"musicCompRatio", "音乐压缩比", "Music compressor ratio", Ratio},
    {"musicCompAttackMs", "音乐压缩启动时间", "Music compressor attack", Ms},
    {"musicCompReleaseMs", "音乐压缩释放时间", "Music compressor release", Ms},
    {"musicCompBypass", "音乐压缩", "Music compressor", Active},
    {"musicAgcOn", "音乐自动电平", "Music automatic level", On},
    {"musicAgcLevel", "音乐自动电平目标", "Music automatic level target", Db},
    {"musicPitch", "音乐变调", "Music key", Steps},
    {"musicGate", "音乐噪声门", "Music noise gate", PerTenThousand},
    {"musicSource", "音乐输入源", "Music source", Plain},
    {"musicGainSpdif", "SPDIF增益", "SPDIF gain", Percent},
    {"musicGainExtra", "附加音乐增益", "Extra music gain", Percent},
    {"musicGainHdmi1", "HDMI1增益", "HDMI1 gain", Percent},
    {"musicGainHdmi2", "HDMI2增益", "HDMI2 gain", Percent},
    {"musicGainHdmi3", "HDMI3增益", "HDMI3 gain", Percent},
    {"musicGainHdmi4", "HDMI4增益", "HDMI4 gain", Percent},
    {"musicGainBluetooth", "蓝牙增益", "Bluetooth gain", Percent},
    {"musicGainAux", "AUX增益", "AUX gain", Percent},
    {"musicGainAux2", "AUX2增益", "AUX2 gain", Percent},
    {"hdmiSelect", "HDMI输入", "HDMI input", Plain},
    {"boostLpfDelayMs", "低音增强延时", "Low-pass boost delay", Ms},
    {"boostLpfGain", "低音增强增益", "Low-pass boost gain", Percent},
    {"outEqSwitch", "均衡", "EQ", Active, Index::Output},
    {"outLocation", "位置", "location", Plain, Index::Output},
    {"outDelayMode", "延时方式", "delay mode", Plain, Index::Output},
    {"outDelayMs", "延时", "delay", Ms, Index::Output},
    {"outDelayBypass", "延时开关", "delay switch", Active, Index::Output},
    {"outDirectLevel", "直达声电平", "direct level", Percent, Index::Output},
    {"outReverbLevel", "混响电平", "reverb level", Percent, Index::Output},
    {"outEchoLevel", "回声电平", "echo level", Percent, Index::Output},
    {"outMusicLevel", "音乐电平", "music level", Percent, Index::Output},
    {"outLevel", "输出电平", "level", Percent, Index::Output},
    {"outPhase", "反相180°", "phase 180°", On, Index::Output},
    {"outMute", "静音", "mute", On, Index::Output},
    {"outCompThreshold", "压缩阈值", "compressor threshold", Db, Index::Output},
    {"outCompRatio", "压缩比", "compressor ratio", Ratio, Index::Output},
    {"outCompAttackMs", "压缩启动时间", "compressor attack", Ms, Index::Output},
    {"outCompReleaseMs", "压缩释放时间", "compressor release", Ms, Index::Output},
    {"outCompBypass", "压缩开关", "compressor switch", Active, Index::Output},
    {"roomGain", "房间电平补偿", "room level correction", Db, Index::Output},
    {"roomLayout", "房间布局", "room layout", Plain},
    {"micBoost", "话筒增强量", "Mic boost level", Db},
    {"reserved6", "保留字6", "reserved word 6", Plain},
    {"reserved14", "保留字14", "reserved word 14", Plain},
};

const Label* labelOf(std::string_view base) {
    for (const Label& l : kLabels) {
        if (l.name == base) {
            return &l;
        }
    }
    return nullptr;
}

std::optional<int> wholeNumber(std::string_view text) {
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return v;
}

// "name[3]" -> {"name", 3, -1}; "band[4,2]" -> {"band", 4, 2}.
struct Parsed {
    std::string_view base;
    std::optional<int> first, second;
};

Parsed parse(std::string_view name) {
    Parsed p{name.substr(0, name.find('[')), {}, {}};
    const std::size_t open = name.find('[');
    const std::size_t close = name.rfind(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return p;
    }
    const std::string_view inside = name.substr(open + 1, close - open - 1);
    const std::size_t comma = inside.find(',');
    p.first = wholeNumber(inside.substr(0, comma));
    if (comma != std::string_view::npos) {
        p.second = wholeNumber(inside.substr(comma + 1));
    }
    return p;
}

std::string printed(const char* format, int a, int b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The equaliser a band record belongs to, and the band's number in it as the pages count.
std::string bandLabel(int module, int band, bool english) {
    struct Run {
        const char *zh, *en;
        int bands; // the first run of the module holds this many, the rest is the second
        const char *zh2, *en2;
    };
    if (module >= 5 && module <= 12) {
        const int ch = module - 4;
        if (band >= 13) {
            return english ? printed("CH %d delay band %d", ch, band - 12)
                           : printed("通道%d延时频段%d", ch, band - 12);
        }
        if (band >= 9) {
            return english ? printed("CH %d crossover %d", ch, band - 8)
                           : printed("通道%d分频%d", ch, band - 8);
        }
        return english ? printed("CH %d EQ band %d", ch, band + 1)
                       : printed("通道%d均衡第%d段", ch, band + 1);
    }
    static constexpr Run kRuns[] = {
        {"话筒通道A均衡", "Mic CH A EQ", 10, "话筒通道B均衡", "Mic CH B EQ"},
        {"A通道回声均衡", "CH A echo EQ", 7, "B通道回声均衡", "CH B echo EQ"},
        {"A通道混响均衡", "CH A reverb EQ", 7, "B通道混响均衡", "CH B reverb EQ"},
        {"音乐均衡", "Music EQ", 10, "音乐均衡", "Music EQ"},
    };
    if (module >= 1 && module <= 4) {
        const Run& r = kRuns[module - 1];
        const bool second = band >= r.bands;
        const int n = (second ? band - r.bands : band) + 1;
        const char* eq = english ? (second ? r.en2 : r.en) : (second ? r.zh2 : r.zh);
        return std::string(eq) + (english ? printed(" band %d", n) : printed("第%d段", n));
    }
    return english ? "Low-pass boost band" : "低音增强频段";
}

std::string withNumber(double v, int decimals, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f%s", decimals, v, unit);
    return text;
}

} // namespace

std::string fieldLabel(std::string_view fieldName, int language) {
    const bool english = language == 1;
    const Parsed p = parse(fieldName);
    if (p.base == "band" && p.first && p.second) {
        return bandLabel(*p.first, *p.second, english);
    }
    const Label* l = labelOf(p.base);
    if (l == nullptr) {
        return std::string(fieldName);
    }
    const std::string name = english ? l->en : l->zh;
    if (!p.first || l->index == Index::None) {
        return p.first ? name + printed(" %d", *p.first + 1) : name;
    }
    const int n = *p.first + 1;
    if (l->index == Index::Output) {
        return (english ? printed("CH %d ", n) : printed("通道%d", n)) + name;
    }
    return (english ? printed("Mic %d ", n) : printed("话筒%d", n)) + name;
}

std::string fieldValueText(std::string_view fieldName, std::string_view value, int language) {
    const bool english = language == 1;
    const Label* l = labelOf(parse(fieldName).base);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (l == nullptr || ec != std::errc{} || end != value.data() + value.size()) {
        return std::string(value);
    }
    const char* on = english ? "On" : "开";
    const char* off = english ? "Off" : "关";
    switch (l->unit) {
    case Percent:
        return withNumber(v, 0, "%");
    case Db:
        return withNumber(v, 1, " dB");
    case Ms:
        return withNumber(v, std::trunc(v) == v ? 0 : 1, " ms");
    case Hz:
        return v <= 1.0 ? off : withNumber(v, 0, " Hz");
    case Ratio:
        return withNumber(v, 1, ":1");
    case On:
        return v != 0.0 ? on : off;
    case Active:
        return v == 0.0 ? on : off;
    case Assigned:
        return v != 0.0 ? on : off;
    case Steps:
        return printed("%+d", static_cast<int>(v));
    case ReverbTime:
        return withNumber(v * 49.6 + 40.0, 0, " ms");
    case PerTenThousand:
        return withNumber(v / 100.0, 2, "%");
    case Plain:
        break;
    }
    return std::string(value);
}

} // namespace quilo
