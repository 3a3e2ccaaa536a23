#include "loads/DesignFileWriter.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string_view>

#include "design/MemberDesign.h"
#include "design/SectionTable.h"

namespace {

// As short as reads back to the same double, never in the locale's way
// ("1,5"), and a decimal number to TOML ("4.0", not "4").
std::string number(double value)
{
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    std::string text(buffer.data(), error == std::errc() ? end : buffer.data());
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

// A TOML basic string: quotes, backslashes and control characters escaped.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\u%04X", unsigned(byte));
            out += escape.data();
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

// Appended part by part: GCC 12's optimiser mistakes "literal" + string
// for an overlapping copy (-Wrestrict) in the hardened build.
void put(std::string& out, std::initializer_list<std::string_view> parts)
{
    for (const std::string_view part : parts)
        out.append(part);
}

std::string_view keyOf(MemberGroup group)
{
    for (const std::string_view key : groupKeys)
        if (const std::vector<MemberGroup> groups = groupsOfKey(key); groups.size() == 1 && groups.front() == group)
            return key;
    return {};
}

// A table of member groups, "web" where the verticals and the diagonals take the same value.
template <class Value>
void writeGroups(std::string& out, std::string_view table, const std::map<MemberGroup, Value>& values,
                 const std::function<std::string(const Value&)>& text)
{
    if (values.empty())
        return;
    put(out, {"[", table, "]\n"});
    const auto vertical = values.find(MemberGroup::Vertical), diagonal = values.find(MemberGroup::Diagonal);
    const bool web = vertical != values.end() && diagonal != values.end() && vertical->second == diagonal->second;
    for (const MemberGroup group : designGroups) {
        const auto given = values.find(group);
        if (given == values.end() || (web && group == MemberGroup::Diagonal))
            continue;
        put(out, {web && group == MemberGroup::Vertical ? std::string_view("web") : keyOf(group), " = ", text(given->second), "\n"});
    }
}

void writeCase(std::string& out, DesignCode code, const LoadCase& c)
{
    put(out, {"\n[[case]]\nname = ", quoted(c.name), "\nkind = ", quoted(kindName(code, c.kind)), "\n"});
    if (c.category)
        put(out, {"category = ", quoted(std::string(1, c.category)), "\n"});
    if (c.psi0)
        put(out, {"psi0 = ", number(*c.psi0), "\n"});
    if (c.selfWeight)
        out += "self_weight = true\n";
    if (c.udlTop)
        put(out, {"udl_top = ", number(*c.udlTop), "\n"});
    if (!c.loads.empty()) {
        out += "loads = [\n";
        for (const PointLoad& load : c.loads)
            put(out, {"    { node = ", std::to_string(load.node), ", fx = ", number(load.fx), ", fy = ", number(load.fy), " },\n"});
        out += "]\n";
    }
    if (c.fromFile)
        out += "from_file = true\n";
}

void writeCombination(std::string& out, const Combination& c)
{
    put(out, {"\n[[combination]]\nname = ", quoted(c.name), "\nkind = ", quoted(c.limitState == LimitState::Ultimate ? "uls" : "sls"),
              "\nfactors = { "});
    for (std::size_t t = 0; t < c.terms.size(); ++t)
        put(out, {t ? ", " : "", c.terms[t].caseName, " = ", number(c.terms[t].factor)});
    out += " }\n";
}

}  // namespace

std::string designFileText(const DesignFile& design)
{
    std::string out;
    put(out, {"code = ", quoted(nameOf(design.code)), "\n"});
    if (design.steel)
        put(out, {"steel = ", quoted(*design.steel), "\n"});
    put(out, {"deflection_limit = ", number(design.deflectionLimit), "\n"});
    if (design.code == DesignCode::En1993)
        put(out, {"en1990_equation = ", design.equation == En1990Equation::Eq610 ? "\"6.10\"" : "\"6.10a+b\"", "\n"});
    writeGroups<const Section*>(out, "sections", design.sections, [](const Section* const& s) { return quoted(s->designation); });
    writeGroups<double>(out, "out_of_plane", design.outOfPlane, [](const double& metres) { return number(metres); });
    for (const LoadCase& c : design.cases)
        writeCase(out, design.code, c);
    for (const Combination& c : design.ownCombinations)
        writeCombination(out, c);
    return out;
}
