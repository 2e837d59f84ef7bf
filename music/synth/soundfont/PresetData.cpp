#include "PresetData.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace tolvex::synth {

namespace {

// The nine tables of preset data, in the order the synthesizer reads them, with their record sizes.
enum Table {
    Presets,
    PresetBags,
    PresetMods,
    PresetGens,
    Instruments,
    InstBags,
    InstMods,
    InstGens,
    Samples
};
constexpr std::array<std::string_view, 9> kTableIds{"phdr", "pbag", "pmod", "pgen", "inst",
                                                    "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, 9> kRecordSizes{38, 4, 10, 4, 22, 4, 10, 4, 46};
constexpr int kInstrumentGenerator = 41;
constexpr std::size_t kPresetBagAt = 24, kInstrumentBagAt = 20;  // in a preset's, an instrument's record

std::uint16_t u16(const std::uint8_t* at) { return std::uint16_t(at[0] | at[1] << 8); }
std::uint32_t u32(const std::uint8_t* at) { return std::uint32_t(u16(at) | u16(at + 2) << 16); }
void put16(std::uint8_t* at, std::size_t value) {
    at[0] = std::uint8_t(value);
    at[1] = std::uint8_t(value >> 8);
}

struct Records {
    std::span<const std::uint8_t> bytes;
    std::size_t size = 0;
    std::size_t count() const { return bytes.size() / size; }
    const std::uint8_t* at(std::size_t index) const { return bytes.data() + index * size; }
};

// A header table (presets or instruments) with its bags, modulators and generators: what a kept
// header brings along into the rebuilt data.
struct Family {
    Records headers, bags, mods, gens;
    std::size_t bagAt;
};

// The rebuilt tables of one family, each with its terminal record.
struct Rebuilt {
    std::vector<std::uint8_t> headers, bags, mods, gens;
    bool numberable() const {
        return bags.size() / 4 <= 0x10000 && mods.size() / 10 <= 0x10000 && gens.size() / 4 <= 0x10000;
    }
};

// Copies header `index` with its zones into `out`; each generator's amount passes through `amount`
// (which renumbers instruments). False when an index points outside its table, or when headers
// that share zones add up to more records than 16 bits can number.
template <typename Amount>
bool copyHeader(const Family& from, std::size_t index, Rebuilt& out, Amount amount) {
    const std::size_t firstBag = u16(from.headers.at(index) + from.bagAt);
    const std::size_t endBag = u16(from.headers.at(index + 1) + from.bagAt);
    if (firstBag > endBag || endBag >= from.bags.count()) return false;
    const std::size_t header = out.headers.size();
    out.headers.insert(out.headers.end(), from.headers.at(index), from.headers.at(index + 1));
    put16(out.headers.data() + header + from.bagAt, out.bags.size() / 4);
    for (std::size_t bag = firstBag; bag < endBag; ++bag) {
        const std::size_t gen = u16(from.bags.at(bag)), endGen = u16(from.bags.at(bag + 1));
        const std::size_t mod = u16(from.bags.at(bag) + 2), endMod = u16(from.bags.at(bag + 1) + 2);
        if (gen > endGen || endGen > from.gens.count() || mod > endMod || endMod > from.mods.count())
            return false;
        const std::size_t bagAt = out.bags.size();
        out.bags.resize(bagAt + 4);
        put16(out.bags.data() + bagAt, out.gens.size() / 4);
        put16(out.bags.data() + bagAt + 2, out.mods.size() / 10);
        out.mods.insert(out.mods.end(), from.mods.at(mod), from.mods.at(endMod));
        for (std::size_t g = gen; g < endGen; ++g) {
            const std::uint8_t* record = from.gens.at(g);
            const std::optional<std::size_t> value = amount(u16(record), u16(record + 2));
            if (!value) return false;
            const std::size_t genAt = out.gens.size();
            out.gens.insert(out.gens.end(), record, record + 4);
            put16(out.gens.data() + genAt + 2, *value);
        }
        if (!out.numberable()) return false;
    }
    return true;
}

// Ends each rebuilt table with its terminal record: the last header (named as in the original)
// pointing past the last bag, and so on.
void terminate(const Family& from, Rebuilt& out) {
    const std::size_t header = out.headers.size();
    out.headers.insert(out.headers.end(), from.headers.at(from.headers.count() - 1),
                       from.headers.at(from.headers.count()));
    put16(out.headers.data() + header + from.bagAt, out.bags.size() / 4);
    const std::size_t bag = out.bags.size();
    out.bags.resize(bag + 4);
    put16(out.bags.data() + bag, out.gens.size() / 4);
    put16(out.bags.data() + bag + 2, out.mods.size() / 10);
    out.mods.resize(out.mods.size() + 10);
    out.gens.resize(out.gens.size() + 4);
}

void appendChunk(std::vector<std::uint8_t>& out, std::string_view id, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), id.begin(), id.end());
    const std::size_t size = bytes.size();
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(size >> shift));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The nine tables found in `data`, or why not.
std::optional<std::array<Records, 9>> readTables(std::span<const std::uint8_t> data, std::string& why) {
    std::array<Records, 9> tables{};
    std::size_t at = 0;
    for (std::size_t table = 0; table < tables.size(); ++table) {
        if (data.size() - at < 8 || std::memcmp(data.data() + at, kTableIds[table].data(), 4) != 0) {
            why = "its preset data does not hold the table " + std::string(kTableIds[table]) +
                  " where expected";
            return std::nullopt;
        }
        const std::size_t size = u32(data.data() + at + 4);
        if (size > data.size() - at - 8 || size % kRecordSizes[table] != 0 || size == 0) {
            why = "its preset table " + std::string(kTableIds[table]) + " has a size that does not fit";
            return std::nullopt;
        }
        tables[table] = {data.subspan(at + 8, size), kRecordSizes[table]};
        at += 8 + size;
    }
    if (tables[Presets].count() < 2 || tables[Instruments].count() < 2) {
        why = "it has no presets or no instruments";
        return std::nullopt;
    }
    return tables;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> presetDataWithOnly(std::span<const std::uint8_t> data,
                                                            std::span<const SoundFontPreset> presets,
                                                            std::string& why) {
    const std::optional<std::array<Records, 9>> tables = readTables(data, why);
    if (!tables) return std::nullopt;
    const Family presetFamily{(*tables)[Presets], (*tables)[PresetBags], (*tables)[PresetMods],
                              (*tables)[PresetGens], kPresetBagAt};
    const Family instrumentFamily{(*tables)[Instruments], (*tables)[InstBags], (*tables)[InstMods],
                                  (*tables)[InstGens], kInstrumentBagAt};
    const std::size_t instrumentCount = instrumentFamily.headers.count() - 1;

    // Instruments are renumbered in the order the kept presets first play them.
    std::vector<std::size_t> instrumentsKept;
    const auto renumber = [&](std::size_t generator, std::size_t value) -> std::optional<std::size_t> {
        if (generator != kInstrumentGenerator) return value;
        if (value >= instrumentCount) return std::nullopt;
        const auto found = std::find(instrumentsKept.begin(), instrumentsKept.end(), value);
        if (found != instrumentsKept.end()) return std::size_t(found - instrumentsKept.begin());
        instrumentsKept.push_back(value);
        return instrumentsKept.size() - 1;
    };
    Rebuilt presetsOut;
    std::vector<bool> found(presets.size());
    for (std::size_t index = 0; index + 1 < presetFamily.headers.count(); ++index) {
        const std::uint8_t* header = presetFamily.headers.at(index);
        const auto wanted = std::find_if(presets.begin(), presets.end(), [&](const SoundFontPreset& preset) {
            return preset.program == u16(header + 20) && preset.bank == u16(header + 22);
        });
        if (wanted == presets.end()) continue;
        found[std::size_t(wanted - presets.begin())] = true;
        if (!copyHeader(presetFamily, index, presetsOut, renumber)) {
            why = "its presets do not fit its preset tables";
            return std::nullopt;
        }
    }
    for (std::size_t preset = 0; preset < presets.size(); ++preset) {
        if (found[preset]) continue;
        why = "it has no bank " + std::to_string(presets[preset].bank) + " program " +
              std::to_string(presets[preset].program);
        return std::nullopt;
    }
    terminate(presetFamily, presetsOut);

    Rebuilt instrumentsOut;
    const auto sameValue = [](std::size_t, std::size_t value) -> std::optional<std::size_t> { return value; };
    for (const std::size_t instrument : instrumentsKept) {
        if (!copyHeader(instrumentFamily, instrument, instrumentsOut, sameValue)) {
            why = "its instruments do not fit its instrument tables";
            return std::nullopt;
        }
    }
    terminate(instrumentFamily, instrumentsOut);
    std::vector<std::uint8_t> body{'p', 'd', 't', 'a'};
    for (const auto& [id, bytes] :
         {std::pair{kTableIds[Presets], std::span<const std::uint8_t>(presetsOut.headers)},
          {kTableIds[PresetBags], presetsOut.bags},
          {kTableIds[PresetMods], presetsOut.mods},
          {kTableIds[PresetGens], presetsOut.gens},
          {kTableIds[Instruments], instrumentsOut.headers},
          {kTableIds[InstBags], instrumentsOut.bags},
          {kTableIds[InstMods], instrumentsOut.mods},
          {kTableIds[InstGens], instrumentsOut.gens},
          {kTableIds[Samples], (*tables)[Samples].bytes}})
        appendChunk(body, id, bytes);
    std::vector<std::uint8_t> list;
    appendChunk(list, "LIST", body);
    return list;
}

}  // namespace tolvex::synth
