#include "XlsxReader.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <zlib.h>

namespace xlsx_test {

namespace {

std::uint32_t Read16(const std::string& bytes, std::size_t at) {
    if (at + 2 > bytes.size())
        throw std::runtime_error("zip: cut short");
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
}

std::uint32_t Read32(const std::string& bytes, std::size_t at) { return Read16(bytes, at) | (Read16(bytes, at + 2) << 16); }

std::string Inflate(const std::string& compressed, std::size_t size) {
    std::string out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        throw std::runtime_error("zlib: cannot start");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END || stream.total_out != size)
        throw std::runtime_error("zlib: damaged entry");
    return out;
}

std::string DecodeEntities(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t end = text.find(';', i);
        if (end == std::string::npos)
            throw std::runtime_error("xml: bad entity");
        const std::string name = text.substr(i + 1, end - i - 1);
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (!name.empty() && name[0] == '#') {
            const unsigned long code =
                name.size() > 1 && name[1] == 'x' ? std::stoul(name.substr(2), nullptr, 16) : std::stoul(name.substr(1));
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
        } else {
            throw std::runtime_error("xml: unknown entity " + name);
        }
        i = end;
    }
    return out;
}

// The workbook's escapes of characters that XML cannot hold: "_xHHHH_".
std::string DecodeEscapes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_') {
            const unsigned long code = std::stoul(text.substr(i + 2, 4), nullptr, 16);
            if (code < 0x80) {
                out += static_cast<char>(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

std::map<std::string, std::string> ReadZip(const std::string& path) {
    const std::string bytes = ReadFile(path);
    constexpr std::uint32_t kEnd = 0x06054b50;
    constexpr std::uint32_t kCentral = 0x02014b50;
    constexpr std::uint32_t kLocal = 0x04034b50;
    if (bytes.size() < 22)
        throw std::runtime_error("zip: too short");
    std::size_t end = bytes.size() - 22;
    while (Read32(bytes, end) != kEnd) {
        if (end == 0)
            throw std::runtime_error("zip: no end record");
        --end;
    }
    const std::uint32_t entries = Read16(bytes, end + 10);
    std::size_t at = Read32(bytes, end + 16);
    std::map<std::string, std::string> files;
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (Read32(bytes, at) != kCentral)
            throw std::runtime_error("zip: bad central record");
        const std::uint32_t method = Read16(bytes, at + 10);
        const std::uint32_t compressedSize = Read32(bytes, at + 20);
        const std::uint32_t size = Read32(bytes, at + 24);
        const std::uint32_t nameLength = Read16(bytes, at + 28);
        const std::uint32_t extraLength = Read16(bytes, at + 30);
        const std::uint32_t commentLength = Read16(bytes, at + 32);
        const std::uint32_t local = Read32(bytes, at + 42);
        const std::string name = bytes.substr(at + 46, nameLength);
        at += 46 + nameLength + extraLength + commentLength;
        if (Read32(bytes, local) != kLocal)
            throw std::runtime_error("zip: bad local record");
        const std::size_t data = local + 30 + Read16(bytes, local + 26) + Read16(bytes, local + 28);
        if (data + compressedSize > bytes.size())
            throw std::runtime_error("zip: entry cut short");
        const std::string stored = bytes.substr(data, compressedSize);
        if (method == 0)
            files[name] = stored;
        else if (method == 8)
            files[name] = Inflate(stored, size);
        else
            throw std::runtime_error("zip: unknown method");
    }
    return files;
}

const XmlElement* XmlElement::Child(const std::string& childName) const {
    for (const auto& child : children)
        if (child->name == childName)
            return child.get();
    return nullptr;
}

std::vector<const XmlElement*> XmlElement::Children(const std::string& childName) const {
    std::vector<const XmlElement*> found;
    for (const auto& child : children)
        if (child->name == childName)
            found.push_back(child.get());
    return found;
}

std::string XmlElement::Attribute(const std::string& key) const {
    const auto found = attributes.find(key);
    return found == attributes.end() ? std::string() : found->second;
}

std::string XmlElement::AllText() const {
    std::string all = text;
    for (const auto& child : children)
        all += child->AllText();
    return all;
}

std::unique_ptr<XmlElement> ParseXml(const std::string& text) {
    auto root = std::make_unique<XmlElement>();
    std::vector<XmlElement*> open{root.get()};
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            const std::size_t next = text.find('<', i);
            const std::size_t stop = next == std::string::npos ? text.size() : next;
            open.back()->text += DecodeEntities(text.substr(i, stop - i));
            i = stop;
            continue;
        }
        const std::size_t close = text.find('>', i);
        if (close == std::string::npos)
            throw std::runtime_error("xml: unclosed tag");
        std::string tag = text.substr(i + 1, close - i - 1);
        i = close + 1;
        if (tag.empty() || tag[0] == '?' || tag[0] == '!')
            continue;
        if (tag[0] == '/') {
            if (open.size() < 2 || open.back()->name != tag.substr(1))
                throw std::runtime_error("xml: mismatched " + tag);
            open.pop_back();
            continue;
        }
        const bool selfClosing = tag.back() == '/';
        if (selfClosing)
            tag.pop_back();
        auto element = std::make_unique<XmlElement>();
        std::size_t at = tag.find_first_of(" \t\r\n");
        element->name = tag.substr(0, at);
        while (at != std::string::npos && at < tag.size()) {
            at = tag.find_first_not_of(" \t\r\n", at);
            if (at == std::string::npos)
                break;
            const std::size_t equals = tag.find('=', at);
            const char quote = tag.at(equals + 1);
            const std::size_t valueEnd = tag.find(quote, equals + 2);
            element->attributes[tag.substr(at, equals - at)] = DecodeEntities(tag.substr(equals + 2, valueEnd - equals - 2));
            at = valueEnd + 1;
        }
        XmlElement* added = element.get();
        open.back()->children.push_back(std::move(element));
        if (!selfClosing)
            open.push_back(added);
    }
    if (open.size() != 1)
        throw std::runtime_error("xml: unclosed element");
    return root;
}

Workbook::Workbook(const std::string& path) {
    const std::map<std::string, std::string> files = ReadZip(path);
    const auto file = [&files](const std::string& name) -> const std::string& {
        const auto found = files.find(name);
        if (found == files.end())
            throw std::runtime_error("workbook: no " + name);
        return found->second;
    };

    std::vector<std::string> strings;
    if (files.count("xl/sharedStrings.xml") != 0) {
        const auto sst = ParseXml(file("xl/sharedStrings.xml"));
        for (const XmlElement* si : sst->Child("sst")->Children("si"))
            strings.push_back(DecodeEscapes(si->AllText()));
    }

    // Styles: each cell format's number format, font, fill and border.
    const auto styles = ParseXml(file("xl/styles.xml"));
    const XmlElement* sheetStyles = styles->Child("styleSheet");
    std::map<std::string, std::string> numberFormats{{"0", "General"}, {"1", "0"}, {"2", "0.00"}};
    if (const XmlElement* formats = sheetStyles->Child("numFmts"))
        for (const XmlElement* format : formats->Children("numFmt"))
            numberFormats[format->Attribute("numFmtId")] = format->Attribute("formatCode");
    const std::vector<const XmlElement*> fonts = sheetStyles->Child("fonts")->Children("font");
    const std::vector<const XmlElement*> fills = sheetStyles->Child("fills")->Children("fill");
    const std::vector<const XmlElement*> borders = sheetStyles->Child("borders")->Children("border");
    std::vector<Cell> looks;
    for (const XmlElement* xf : sheetStyles->Child("cellXfs")->Children("xf")) {
        Cell look;
        look.numberFormat = numberFormats[xf->Attribute("numFmtId")];
        const XmlElement* font = fonts.at(std::stoul(xf->Attribute("fontId")));
        if (const XmlElement* name = font->Child("name"))
            look.face = name->Attribute("val");
        if (const XmlElement* size = font->Child("sz"))
            look.size = std::stod(size->Attribute("val"));
        look.bold = font->Child("b") != nullptr;
        look.italic = font->Child("i") != nullptr;
        look.underline = font->Child("u") != nullptr;
        if (const XmlElement* colour = font->Child("color"))
            look.colour = colour->Attribute("rgb");
        const XmlElement* pattern = fills.at(std::stoul(xf->Attribute("fillId")))->Child("patternFill");
        if (pattern && pattern->Attribute("patternType") == "solid" && pattern->Child("fgColor"))
            look.fill = pattern->Child("fgColor")->Attribute("rgb");
        const XmlElement* border = borders.at(std::stoul(xf->Attribute("borderId")));
        const char* sides[] = {"top", "bottom", "left", "right"};
        for (std::size_t side = 0; side < 4; ++side)
            if (const XmlElement* edge = border->Child(sides[side]))
                look.edges[side] = edge->Attribute("style");
        looks.push_back(look);
    }

    std::map<std::string, std::string> targets;
    const auto relations = ParseXml(file("xl/_rels/workbook.xml.rels"));
    for (const XmlElement* relation : relations->Child("Relationships")->Children("Relationship"))
        targets[relation->Attribute("Id")] = relation->Attribute("Target");
    const auto workbook = ParseXml(file("xl/workbook.xml"));
    for (const XmlElement* sheet : workbook->Child("workbook")->Child("sheets")->Children("sheet")) {
        const std::string name = sheet->Attribute("name");
        m_sheetNames.push_back(name);
        const auto content = ParseXml(file("xl/" + targets.at(sheet->Attribute("r:id"))));
        const XmlElement* worksheet = content->Child("worksheet");
        if (const XmlElement* columns = worksheet->Child("cols"))
            for (const XmlElement* column : columns->Children("col"))
                for (int c = std::stoi(column->Attribute("min")); c <= std::stoi(column->Attribute("max")); ++c)
                    m_widths[name][c - 1] = std::stod(column->Attribute("width"));
        std::map<std::string, Cell>& cells = m_cells[name];
        for (const XmlElement* row : worksheet->Child("sheetData")->Children("row")) {
            for (const XmlElement* c : row->Children("c")) {
                const std::string style = c->Attribute("s");
                Cell cell = style.empty() ? Cell{} : looks.at(std::stoul(style));
                const std::string type = c->Attribute("t");
                const XmlElement* value = c->Child("v");
                if (const XmlElement* formula = c->Child("f")) {
                    cell.kind = Cell::Kind::Formula;
                    cell.formula = formula->AllText();
                } else if (type == "s") {
                    cell.kind = Cell::Kind::Text;
                    cell.text = strings.at(std::stoul(value->AllText()));
                } else if (type == "inlineStr" || type == "str") {
                    cell.kind = Cell::Kind::Text;
                    cell.text = DecodeEscapes(type == "str" ? value->AllText() : c->Child("is")->AllText());
                } else if (value) {
                    cell.kind = Cell::Kind::Number;
                    cell.number = std::stod(value->AllText());
                }
                cells[c->Attribute("r")] = cell;
            }
        }
    }
}

std::optional<Cell> Workbook::At(const std::string& sheet, const std::string& reference) const {
    const auto cells = m_cells.find(sheet);
    if (cells == m_cells.end())
        return std::nullopt;
    const auto found = cells->second.find(reference);
    if (found == cells->second.end())
        return std::nullopt;
    return found->second;
}

std::size_t Workbook::CellCount(const std::string& sheet) const {
    const auto cells = m_cells.find(sheet);
    return cells == m_cells.end() ? 0 : cells->second.size();
}

std::map<int, double> Workbook::Widths(const std::string& sheet) const {
    const auto found = m_widths.find(sheet);
    return found == m_widths.end() ? std::map<int, double>() : found->second;
}

} // namespace xlsx_test
