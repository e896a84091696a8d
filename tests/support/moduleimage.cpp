#include "moduleimage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace testing_support {

namespace {

class Bytes {
public:
    explicit Bytes(std::vector<unsigned char> contents)
        : data(std::move(contents)) {}

    bool has(std::uint64_t offset, std::uint64_t size) const {
        return offset <= data.size() && size <= data.size() - offset;
    }
    template <typename T>
    T at(std::uint64_t offset) const {
        T value{};
        if (has(offset, sizeof value)) {
            std::memcpy(&value, data.data() + offset, sizeof value);
        }
        return value;
    }
    std::string text(std::uint64_t offset) const {
        std::string result;
        while (offset < data.size() && data[offset] != 0) {
            result += static_cast<char>(data[offset++]);
        }
        return result;
    }
    std::size_t size() const { return data.size(); }

private:
    std::vector<unsigned char> data;
};

struct Section {
    std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

void readPe(const Bytes& file, ModuleImage& image) {
    const std::uint32_t pe = file.at<std::uint32_t>(0x3C);
    if (file.at<std::uint32_t>(pe) != 0x00004550) { // "PE\0\0"
        image.error = "no PE signature";
        return;
    }
    const std::uint64_t header = pe + 4;
    image.machine = file.at<std::uint16_t>(header);
    const unsigned sections = file.at<std::uint16_t>(header + 2);
    const unsigned optionalSize = file.at<std::uint16_t>(header + 16);
    image.isLibrary = (file.at<std::uint16_t>(header + 18) & 0x2000) != 0;
    const std::uint64_t optional = header + 20;
    if (file.at<std::uint16_t>(optional) != 0x20B) {
        image.error = "not PE32+";
        return;
    }
    image.format = "PE32+";
    const std::uint64_t directories = optional + 112;
    std::vector<Section> table;
    for (unsigned i = 0; i < sections; ++i) {
        const std::uint64_t s = optional + optionalSize + 40u * i;
        table.push_back({file.at<std::uint32_t>(s + 12), file.at<std::uint32_t>(s + 8),
                         file.at<std::uint32_t>(s + 20), file.at<std::uint32_t>(s + 16)});
    }
    auto offsetOf = [&](std::uint32_t rva) -> std::uint64_t {
        for (const Section& s : table) {
            if (rva >= s.virtualAddress &&
                rva < s.virtualAddress + std::max(s.virtualSize, s.rawSize)) {
                return std::uint64_t{rva} - s.virtualAddress + s.rawOffset;
            }
        }
        return file.size();
    };

    const std::uint32_t exportRva = file.at<std::uint32_t>(directories);
    if (exportRva != 0) {
        const std::uint64_t e = offsetOf(exportRva);
        image.moduleName = file.text(offsetOf(file.at<std::uint32_t>(e + 12)));
        const std::uint32_t base = file.at<std::uint32_t>(e + 16);
        const std::uint32_t functions = file.at<std::uint32_t>(e + 20);
        const std::uint32_t names = file.at<std::uint32_t>(e + 24);
        const std::uint64_t addressTable = offsetOf(file.at<std::uint32_t>(e + 28));
        const std::uint64_t nameTable = offsetOf(file.at<std::uint32_t>(e + 32));
        const std::uint64_t ordinalTable = offsetOf(file.at<std::uint32_t>(e + 36));
        std::vector<bool> named(functions, false);
        for (std::uint32_t i = 0; i < names; ++i) {
            const std::uint16_t index = file.at<std::uint16_t>(ordinalTable + 2u * i);
            ExportedSymbol symbol;
            symbol.name = file.text(offsetOf(file.at<std::uint32_t>(nameTable + 4u * i)));
            symbol.ordinal = base + index;
            symbol.address = file.at<std::uint32_t>(addressTable + 4u * index);
            image.exports.push_back(symbol);
            if (index < functions) {
                named[index] = true;
            }
        }
        for (std::uint32_t i = 0; i < functions; ++i) { // exported by ordinal only
            const std::uint32_t address = file.at<std::uint32_t>(addressTable + 4u * i);
            if (!named[i] && address != 0) {
                image.exports.push_back({"", base + i, address});
            }
        }
    }

    // The DLLs named by a table of descriptors: directory `entry` of the optional header, records
    // of `size` bytes with the name's address at `nameAt`, ended by a record without a name.
    auto importedDlls = [&](unsigned entry, std::uint64_t size, std::uint64_t nameAt) {
        const std::uint32_t rva = file.at<std::uint32_t>(directories + 8u * entry);
        if (rva == 0) {
            return;
        }
        for (std::uint64_t d = offsetOf(rva); file.has(d, size); d += size) {
            const std::uint32_t name = file.at<std::uint32_t>(d + nameAt);
            if (name == 0) {
                break;
            }
            image.imports.push_back(file.text(offsetOf(name)));
        }
    };
    importedDlls(1, 20, 12); // imports
    importedDlls(13, 32, 4); // delay-loaded imports
}

void readElf(const Bytes& file, ModuleImage& image) {
    if (file.at<std::uint8_t>(4) != 2 || file.at<std::uint8_t>(5) != 1) {
        image.error = "not a little-endian ELF64 file";
        return;
    }
    image.format = "ELF64";
    image.isLibrary = file.at<std::uint16_t>(16) == 3; // ET_DYN
    image.machine = file.at<std::uint16_t>(18);
    const std::uint64_t sectionTable = file.at<std::uint64_t>(40);
    const unsigned sectionSize = file.at<std::uint16_t>(58);
    const unsigned sections = file.at<std::uint16_t>(60);
    auto section = [&](unsigned i) { return sectionTable + std::uint64_t{sectionSize} * i; };
    for (unsigned i = 0; i < sections; ++i) {
        const std::uint32_t type = file.at<std::uint32_t>(section(i) + 4);
        const std::uint64_t offset = file.at<std::uint64_t>(section(i) + 24);
        const std::uint64_t size = file.at<std::uint64_t>(section(i) + 32);
        const std::uint32_t link = file.at<std::uint32_t>(section(i) + 40);
        const std::uint64_t strings = file.at<std::uint64_t>(section(link) + 24);
        if (type == 11) { // SHT_DYNSYM
            for (std::uint64_t s = offset + 24; s + 24 <= offset + size; s += 24) {
                const unsigned char info = file.at<std::uint8_t>(s + 4);
                const unsigned char visibility = file.at<std::uint8_t>(s + 5) & 3;
                const std::uint16_t shndx = file.at<std::uint16_t>(s + 6);
                const unsigned binding = info >> 4;
                if (shndx != 0 && (binding == 1 || binding == 2) && visibility == 0) {
                    image.exports.push_back({file.text(strings + file.at<std::uint32_t>(s)), 0,
                                             file.at<std::uint64_t>(s + 8)});
                }
            }
        } else if (type == 6) { // SHT_DYNAMIC
            for (std::uint64_t d = offset; d + 16 <= offset + size; d += 16) {
                if (file.at<std::int64_t>(d) == 1) { // DT_NEEDED
                    image.imports.push_back(file.text(strings + file.at<std::uint64_t>(d + 8)));
                }
            }
        }
    }
}

} // namespace

ModuleImage readModuleImage(const std::string& path) {
    ModuleImage image;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        image.error = "cannot open " + path;
        return image;
    }
    const Bytes file(std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                                std::istreambuf_iterator<char>()));
    if (file.at<std::uint16_t>(0) == 0x5A4D) { // "MZ"
        readPe(file, image);
    } else if (file.at<std::uint32_t>(0) == 0x464C457F) { // "\x7F" "ELF"
        readElf(file, image);
    } else {
        image.error = path + " is neither a PE nor an ELF file";
    }
    return image;
}

} // namespace testing_support
