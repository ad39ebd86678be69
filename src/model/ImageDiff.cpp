#include "model/ImageDiff.h"

#include "device/BigEndian.h"

#include "model/DspFields.h"
#include "model/EqBand.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string_view>

namespace quilo {

namespace {

// One field: its name in parts (for sorting), the bytes it is stored as (for
// comparing) and its text.
struct Entry {
    std::string base;
    std::vector<int> indices;
    std::string stored;
    std::string value;

    std::string name() const {
        std::string s = base;
        if (!indices.empty()) {
            s += '[';
            for (std::size_t i = 0; i < indices.size(); ++i) {
                s += (i ? "," : "") + std::to_string(indices[i]);
            }
            s += ']';
        }
        return s;
    }
    std::string line() const { return name() + '=' + value; }
};

bool byName(const Entry& a, const Entry& b) {
    if (a.base != b.base) {
        return a.base < b.base;
    }
    return a.indices < b.indices;
}

std::string formatFloat(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return text;
}

template <typename T> std::string storedBytes(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendEscape(std::string& out, char16_t unit) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04X", unsigned(unit));
    out += text;
}

} // namespace

// Whatever the processor put in a name cannot break the line or the encoding.
std::string printableText(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        const bool high = u >= 0xD800 && u <= 0xDBFF;
        const bool low = u >= 0xDC00 && u <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (high || low || u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            appendEscape(out, u);
        } else if (u == u'\\') {
            out += "\\\\";
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

namespace {

class Collector {
public:
    void add(std::string base, std::vector<int> indices, std::string stored, std::string value) {
        m_entries.push_back(
            {std::move(base), std::move(indices), std::move(stored), std::move(value)});
    }
    void addInt(std::string base, std::vector<int> indices, std::int64_t v) {
        add(std::move(base), std::move(indices), storedBytes(v), std::to_string(v));
    }
    template <std::size_t N>
    void addBytes(const std::string& base, const std::array<std::uint8_t, N>& bytes) {
        for (std::size_t i = 0; i < N; ++i) {
            addInt(base, {int(i)}, bytes[i]);
        }
    }
    void addText(std::string base, std::vector<int> indices, const std::u16string& text) {
        add(std::move(base), std::move(indices),
            std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2),
            printableText(text));
    }

    std::vector<Entry> sorted() && {
        std::sort(m_entries.begin(), m_entries.end(), byName);
        return std::move(m_entries);
    }

private:
    std::vector<Entry> m_entries;
};

void addParams(Collector& c, const DspParams& p) {
    for (const DspFieldInfo& f : dspFields()) {
        for (std::size_t i = 0; i < f.count; ++i) {
            const std::uint32_t bits = p.word(f.firstWord + i);
            std::vector<int> index;
            if (f.count > 1) {
                index.push_back(int(i));
            }
            const std::string value = f.isFloat ? formatFloat(std::bit_cast<float>(bits))
                                                : std::to_string(std::bit_cast<std::int32_t>(bits));
            c.add(std::string(f.name), std::move(index), storedBytes(bits), value);
        }
    }
    // The two words without a meaning are carried through files all the same.
    c.addInt("reserved6", {}, p.reserved6);
    c.addInt("reserved14", {}, p.reserved14);
}

void addBands(Collector& c, const EqBandStore& store) {
    for (std::size_t r = 0; r < kEqBandRecords; ++r) {
        EqBandRecord record;
        std::copy_n(store.begin() + std::ptrdiff_t(r * kEqBandRecordSize), kEqBandRecordSize,
                    record.begin());
        const EqBand band = decodeBand(record);
        const BandSlot slot = bandSlotOfRecord(r);
        c.add("band", {slot.module, slot.band}, storedBytes(record),
              formatFloat(band.gainDb) + ',' + std::to_string(static_cast<int>(band.freqHz)) + ',' +
                  formatFloat(band.q) + ',' + std::to_string(band.type));
    }
}

float floatAt(std::span<const std::uint8_t> bytes) {
    return std::bit_cast<float>(readU32(bytes, 0));
}

// What a mode file carries: parameters, bands, room blocks and the boost word.
void addModeContent(Collector& c, const DeviceImage& image) {
    addParams(c, image.params);
    addBands(c, image.eqBands);
    for (std::size_t ch = 0; ch < kRoomGainBlockSize / 4; ++ch) {
        const auto bytes = std::span(image.roomGain).subspan(ch * 4, 4);
        c.add("roomGain", {int(ch)}, std::string(bytes.begin(), bytes.end()),
              formatFloat(floatAt(bytes)));
    }
    c.addBytes("roomLayout", image.roomLayout);
    const std::uint8_t boostBits[4] = {image.micBoost[0], image.micBoost[1], 0, 0};
    // Adding 0 turns the -0 of an empty word into 0.
    c.add("micBoost", {}, storedBytes(image.micBoost), formatFloat(-floatAt(boostBits) + 0.0f));
}

std::vector<Entry> entriesOf(const DeviceImage& image) {
    Collector c;
    addModeContent(c, image);
    c.addBytes("liveStatus", image.liveStatus.load());
    c.addInt("currentMode", {}, image.currentMode.load());
    c.addInt("settingsChanged", {}, image.settingsChanged.load());
    c.addBytes("machine.applied", image.machine.applied);
    c.addBytes("machine.edit", image.machine.edit);
    for (std::size_t k = 0; k < kModeCount; ++k) {
        c.addText("modeNames", {int(k)}, image.modeNames[k]);
    }
    c.addText("modelName", {}, image.info.modelName);
    c.addText("firmwareDateA", {}, image.info.firmwareDateA);
    c.addText("firmwareDateB", {}, image.info.firmwareDateB);
    c.addInt("protocolVersion", {}, image.info.protocolVersion);
    c.addBytes("remoteKeys", image.remoteKeys);
    return std::move(c).sorted();
}

} // namespace

BandSlot bandSlotOfRecord(std::size_t record) {
    // Records past the last run count on in it.
    const BandStoreRun* in = &kBandStoreRuns.back();
    for (const BandStoreRun& run : kBandStoreRuns) {
        if (record >= run.firstRecord && record < std::size_t(run.firstRecord) + run.records) {
            in = &run;
        }
    }
    return {in->module, int(record - in->firstRecord)};
}

std::vector<std::string> imageFieldLines(const DeviceImage& image) {
    std::vector<std::string> lines;
    for (const Entry& e : entriesOf(image)) {
        lines.push_back(e.line());
    }
    return lines;
}

std::vector<FieldValue> modeFieldValues(const DeviceImage& image) {
    Collector c;
    addModeContent(c, image);
    std::vector<FieldValue> fields;
    for (Entry& e : std::move(c).sorted()) {
        fields.push_back({e.name(), std::move(e.value), std::move(e.stored)});
    }
    return fields;
}

std::vector<std::string> modeFieldLines(const DeviceImage& image) {
    std::vector<std::string> lines;
    for (const FieldValue& f : modeFieldValues(image)) {
        lines.push_back(f.name + '=' + f.value);
    }
    return lines;
}

std::vector<std::string> imageDifferences(const DeviceImage& before, const DeviceImage& after) {
    const std::vector<Entry> a = entriesOf(before);
    const std::vector<Entry> b = entriesOf(after);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i].stored != b[i].stored) {
            lines.push_back(b[i].line());
        }
    }
    return lines;
}

} // namespace quilo
