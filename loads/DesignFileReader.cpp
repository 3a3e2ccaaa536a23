#include "loads/DesignFileReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>
#include <utility>

#include <toml++/toml.h>

#include "design/SectionTable.h"
#include "kvrfile/NumberText.h"
#include "loads/GeneratedCombinations.h"

namespace {

// The first mistake, worded: where it is and what is wrong.
struct Mistake {
    std::uint32_t line = 0;
    std::string where;  // the key: "[[case]] kind", "code"
    std::string why;
};

// A table's entries in the order the file writes them (toml++ keeps them
// sorted by key), so that the mistake reported is the first in the file.
std::vector<std::pair<const toml::key*, const toml::node*>> inFileOrder(const toml::table& table)
{
    std::vector<std::pair<const toml::key*, const toml::node*>> entries;
    for (const auto& [key, node] : table)
        entries.emplace_back(&key, &node);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        const toml::source_position &p = a.first->source().begin, &q = b.first->source().begin;
        return std::pair(p.line, p.column) < std::pair(q.line, q.column);
    });
    return entries;
}

std::string typeName(const toml::node& node)
{
    switch (node.type()) {
    case toml::node_type::table:
        return "a table";
    case toml::node_type::array:
        return "an array";
    case toml::node_type::string:
        return "a string";
    case toml::node_type::integer:
        return "an integer";
    case toml::node_type::floating_point:
        return "a decimal number";
    case toml::node_type::boolean:
        return "a boolean";
    default:
        return "a date or time";
    }
}

std::string joined(std::span<const std::string_view> words)
{
    std::string text;
    for (const std::string_view word : words)
        text += (text.empty() ? "" : ", ") + std::string(word);
    return text;
}

// The design file's member groups by their keys; web is both parts of it.


constexpr std::array<std::string_view, 5> en1993Grades{"S235", "S275", "S355", "S420", "S460"};

constexpr std::array<std::string_view, 8> rootKeys{
    "code", "steel", "sections", "out_of_plane", "deflection_limit", "en1990_equation", "case", "combination"};
constexpr std::array<std::string_view, 8> caseKeys{"name",        "kind",    "category", "psi0",
                                                   "self_weight", "udl_top", "loads",    "from_file"};
constexpr std::array<std::string_view, 3> loadKeys{"node", "fx", "fy"};
constexpr std::array<std::string_view, 3> combinationKeys{"name", "kind", "factors"};

// EN 1990: each permanent case is taken favourable and unfavourable in
// every combination, 2^n ways.
constexpr int mostPermanentCases = 6;

// The names the generated combinations take.
bool looksGenerated(std::string_view name)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t at = 0;
    while (at < name.size() && blank(name[at]))
        ++at;
    name.remove_prefix(at);
    if (name.size() < 4 || (name.substr(0, 3) != "ULS" && name.substr(0, 3) != "SLS") || !blank(name[3]))
        return false;
    name.remove_prefix(3);
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    return !name.empty() && std::all_of(name.begin(), name.end(), digit);
}

// The combinations a design takes on: each is solved by superposition and
// every member checked for it, so the count bounds the work.
constexpr double mostCombinations = 4096;

class Reader {
public:
    explicit Reader(std::string source) { design_.source = std::move(source); }

    Result<DesignFile> read(const toml::table& root)
    {
        if (!readRoot(root))
            return {std::nullopt, worded()};
        return {std::move(design_), {}};
    }

private:
    bool fail(const toml::source_region& at, std::string where, std::string why)
    {
        mistake_ = {at.begin.line, std::move(where), std::move(why)};
        return false;
    }
    std::string worded() const
    {
        std::string line = design_.source + ":" + std::to_string(std::max<std::uint32_t>(mistake_.line, 1)) + ": "
                           + mistake_.where + ": " + mistake_.why;
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        return line;
    }

    // Every key of the table is one the table takes.
    bool onlyKnownKeys(const toml::table& table, std::string_view in, std::span<const std::string_view> known)
    {
        for (const auto& [key, node] : inFileOrder(table))
            if (std::find(known.begin(), known.end(), key->str()) == known.end())
                return fail(key->source(), prefixed(in, key->str()),
                            "unknown key; " + (in.empty() ? std::string("the file") : std::string(in)) + " takes "
                                + joined(known));
        return true;
    }
    static std::string prefixed(std::string_view in, std::string_view key)
    {
        return in.empty() ? std::string(key) : std::string(in) + " " + std::string(key);
    }

    bool text(const toml::node& node, const std::string& where, std::string& out)
    {
        if (!node.is_string())
            return fail(node.source(), where, "expected a string, got " + typeName(node));
        out = node.as_string()->get();
        return true;
    }
    bool number(const toml::node& node, const std::string& where, double& out)
    {
        if (!node.is_number())
            return fail(node.source(), where, "expected a number, got " + typeName(node));
        out = node.value<double>().value_or(std::numeric_limits<double>::quiet_NaN());
        if (!std::isfinite(out))
            return fail(node.source(), where, "expected a finite number");
        return true;
    }
    bool flag(const toml::node& node, const std::string& where, bool& out)
    {
        if (!node.is_boolean())
            return fail(node.source(), where, "expected true or false, got " + typeName(node));
        out = node.as_boolean()->get();
        return true;
    }
    bool oneOf(const toml::node& node, const std::string& where, std::span<const std::string_view> choices, std::string& out)
    {
        if (!text(node, where, out))
            return false;
        if (std::find(choices.begin(), choices.end(), out) == choices.end())
            return fail(node.source(), where, "expected one of " + joined(choices) + ", got '" + out + "'");
        return true;
    }

    bool readRoot(const toml::table& root)
    {
        if (!onlyKnownKeys(root, "", rootKeys))
            return false;
        // The code first: the kinds of load, the sections and the grades are its own.
        const toml::node* code = root.get("code");
        if (!code)
            return fail(root.source(), "code", "missing; give en1993 or aisc360");
        std::string codeName;
        constexpr std::array<std::string_view, 2> codes{"en1993", "aisc360"};
        if (!oneOf(*code, "code", codes, codeName))
            return false;
        design_.code = codeNamed(codeName).value_or(DesignCode::En1993);

        for (const auto& [key, node] : inFileOrder(root)) {
            const std::string_view name = key->str();
            const bool read = name == "code"               ? true
                              : name == "steel"            ? readSteel(*node)
                              : name == "sections"         ? readSections(*node)
                              : name == "out_of_plane"     ? readOutOfPlane(*node)
                              : name == "deflection_limit" ? readDeflectionLimit(*node)
                              : name == "en1990_equation"  ? readEquation(*node)
                                                           : true;  // cases and combinations below
            if (!read)
                return false;
        }
        if (const toml::node* cases = root.get("case"); cases && !readCases(*cases))
            return false;
        if (const toml::node* combinations = root.get("combination"); combinations && !readCombinations(*combinations))
            return false;
        if (const double count = generatedCombinationBound(design_.cases, design_.code); count > mostCombinations)
            return fail(root.source(), "case",
                        "the cases make up to " + formatSignificant(count, 3) + " combinations, more than "
                            + formatSignificant(mostCombinations, 4)
                            + " a design takes on: the cases of one kind are alternatives, each combined with every "
                              "choice of the others; keep fewer");
        return true;
    }

    bool readSteel(const toml::node& node)
    {
        if (design_.code == DesignCode::Aisc360)
            return fail(node.source(), "steel", "aisc360 takes the grade from the section (ASTM A500 Gr. C for HSS, A992 for W)");
        std::string grade;
        if (!text(node, "steel", grade))
            return false;
        std::transform(grade.begin(), grade.end(), grade.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; });
        if (std::find(en1993Grades.begin(), en1993Grades.end(), grade) == en1993Grades.end())
            return fail(node.source(), "steel",
                        "expected one of " + joined(en1993Grades) + ", got '" + node.as_string()->get() + "'");
        design_.steel = grade;
        return true;
    }

    // A table of member groups: each key a group or web, each value read by readValue.
    template <class ReadValue> bool readGroups(const toml::node& node, const std::string& key, ReadValue readValue)
    {
        const std::string in = "[" + key + "]";
        if (!node.is_table())
            return fail(node.source(), key, "expected a table (" + in + " on a line of its own), got " + typeName(node));
        const toml::table& table = *node.as_table();
        if (!onlyKnownKeys(table, in, groupKeys))
            return false;
        std::map<MemberGroup, std::uint32_t> givenOn;
        for (const auto& [key, value] : inFileOrder(table)) {
            const std::vector<MemberGroup> groups = groupsOfKey(key->str());
            const std::string where = prefixed(in, key->str());
            for (const MemberGroup g : groups)
                if (givenOn.count(g))
                    return fail(key->source(), where,
                                std::string("the ") + titleOf(g) + " given already, on line " + std::to_string(givenOn[g]));
            if (!readValue(*value, where, groups))
                return false;
            for (const MemberGroup g : groups)
                givenOn[g] = key->source().begin.line;
        }
        return true;
    }

    bool readSections(const toml::node& node)
    {
        return readGroups(node, "sections", [&](const toml::node& value, const std::string& where, const auto& groups) {
            std::string designation;
            if (!text(value, where, designation))
                return false;
            const Section* section = findSection(design_.code, designation);
            if (!section)
                return fail(value.source(), where,
                            "no section '" + designation + "' in the " + std::string(nameOf(design_.code)) + " tables");
            for (const MemberGroup g : groups)
                design_.sections[g] = section;
            return true;
        });
    }

    bool readOutOfPlane(const toml::node& node)
    {
        return readGroups(node, "out_of_plane", [&](const toml::node& value, const std::string& where, const auto& groups) {
            double metres = 0;
            if (!number(value, where, metres))
                return false;
            if (!(metres > 0))
                return fail(value.source(), where, "expected a distance between restraints above 0 m");
            for (const MemberGroup g : groups)
                design_.outOfPlane[g] = metres;
            return true;
        });
    }

    bool readDeflectionLimit(const toml::node& node)
    {
        if (!number(node, "deflection_limit", design_.deflectionLimit))
            return false;
        if (!(design_.deflectionLimit >= 1))
            return fail(node.source(), "deflection_limit", "expected n of L/n, such as 300");
        return true;
    }

    bool readEquation(const toml::node& node)
    {
        if (design_.code != DesignCode::En1993)
            return fail(node.source(), "en1990_equation", "only en1993 follows EN 1990");
        std::string equation;
        constexpr std::array<std::string_view, 2> equations{"6.10", "6.10a+b"};
        if (!oneOf(node, "en1990_equation", equations, equation))
            return false;
        design_.equation = equation == "6.10" ? En1990Equation::Eq610 : En1990Equation::Eq610ab;
        return true;
    }

    // An array of tables, each read by readTable.
    template <class ReadTable>
    bool readTables(const toml::node& node, std::string_view name, std::span<const std::string_view> keys, ReadTable readTable)
    {
        const std::string header = "[[" + std::string(name) + "]]";
        if (!node.is_array_of_tables())
            return fail(node.source(), std::string(name), "expected " + header + " tables, got " + typeName(node));
        for (const toml::node& element : *node.as_array())
            if (!onlyKnownKeys(*element.as_table(), header, keys) || !readTable(*element.as_table(), header))
                return false;
        return true;
    }

    bool readCases(const toml::node& node)
    {
        return readTables(node, "case", caseKeys,
                          [&](const toml::table& table, const std::string& in) { return readCase(table, in); });
    }

    bool readCase(const toml::table& table, const std::string& in)
    {
        LoadCase loadCase;
        loadCase.line = static_cast<int>(table.source().begin.line);
        const toml::node* name = table.get("name");
        if (!name)
            return fail(table.source(), in + " name", "missing");
        if (!text(*name, in + " name", loadCase.name))
            return false;
        if (!isCaseName(loadCase.name))
            return fail(name->source(), in + " name",
                        "'" + loadCase.name + "' is not a case name: a letter or _ first, then letters, digits and _");
        if (design_.caseNamed(loadCase.name))
            return fail(name->source(), in + " name",
                        "a case '" + loadCase.name + "' is given already, on line "
                            + std::to_string(design_.caseNamed(loadCase.name)->line));

        const toml::node* kind = table.get("kind");
        if (!kind)
            return fail(table.source(), in + " kind", "missing for case '" + loadCase.name + "'");
        std::vector<std::string_view> kindNames;
        for (const LoadKind k : kindsOf(design_.code))
            kindNames.push_back(kindName(design_.code, k));
        std::string kindText;
        if (!oneOf(*kind, in + " kind", kindNames, kindText))
            return false;
        loadCase.kind = *kindNamed(design_.code, kindText);
        const auto permanent = std::count_if(design_.cases.begin(), design_.cases.end(),
                                             [](const LoadCase& c) { return c.kind == LoadKind::Permanent; });
        if (design_.code == DesignCode::En1993 && loadCase.kind == LoadKind::Permanent && permanent == mostPermanentCases)
            return fail(kind->source(), in + " kind",
                        "more than " + std::to_string(mostPermanentCases)
                            + " permanent cases, each taken favourable and unfavourable in every combination");

        bool sourced = false;
        for (const auto& [key, node] : inFileOrder(table)) {
            const std::string_view k = key->str();
            const std::string where = prefixed(in, k);
            bool read = true;
            if (k == "category")
                read = readCategory(*node, where, loadCase);
            else if (k == "psi0")
                read = readPsi0(*node, where, loadCase);
            else if (k == "self_weight")
                read = flag(*node, where, loadCase.selfWeight);
            else if (k == "udl_top")
                read = number(*node, where, loadCase.udlTop.emplace());
            else if (k == "loads")
                read = readPointLoads(*node, where, loadCase);
            else if (k == "from_file")
                read = flag(*node, where, loadCase.fromFile);
            if (!read)
                return false;
            sourced = sourced || k == "udl_top" || (k == "loads" && !loadCase.loads.empty());
        }
        if (loadCase.name == "file") {
            if (table.contains("from_file") && !loadCase.fromFile)
                return fail(table.get("from_file")->source(), in + " from_file", "a case named 'file' takes the file's loads");
            loadCase.fromFile = true;
        }
        if (!(sourced || loadCase.selfWeight || loadCase.fromFile))
            return fail(table.source(), in + " name",
                        "case '" + loadCase.name + "' has no loads: give self_weight, udl_top, loads or from_file");
        if (design_.code == DesignCode::En1993 && loadCase.kind == LoadKind::Imposed && !loadCase.category)
            return fail(table.source(), in + " category",
                        "missing for imposed case '" + loadCase.name + "': A to H, as EN 1990 Table A1.1, for its psi factors");
        design_.cases.push_back(std::move(loadCase));
        return true;
    }

    bool readCategory(const toml::node& node, const std::string& where, LoadCase& loadCase)
    {
        if (design_.code != DesignCode::En1993 || loadCase.kind != LoadKind::Imposed)
            return fail(node.source(), where, "only an en1993 imposed load has a category");
        std::string category;
        constexpr std::array<std::string_view, 8> categories{"A", "B", "C", "D", "E", "F", "G", "H"};
        if (!oneOf(node, where, categories, category))
            return false;
        loadCase.category = category.front();
        return true;
    }

    bool readPsi0(const toml::node& node, const std::string& where, LoadCase& loadCase)
    {
        if (design_.code != DesignCode::En1993 || loadCase.kind == LoadKind::Permanent)
            return fail(node.source(), where, "only an en1993 variable action has a psi0");
        double psi0 = 0;
        if (!number(node, where, psi0))
            return false;
        if (psi0 < 0 || psi0 > 1)
            return fail(node.source(), where, "expected a factor from 0 to 1");
        loadCase.psi0 = psi0;
        return true;
    }

    bool readPointLoads(const toml::node& node, const std::string& where, LoadCase& loadCase)
    {
        if (!node.is_array())
            return fail(node.source(), where, "expected an array of { node, fx, fy }, got " + typeName(node));
        for (const toml::node& element : *node.as_array()) {
            if (!element.is_table())
                return fail(element.source(), where, "expected { node = N, fx = kN, fy = kN }, got " + typeName(element));
            const toml::table& load = *element.as_table();
            if (!onlyKnownKeys(load, where, loadKeys))
                return false;
            PointLoad point;
            point.line = static_cast<int>(load.source().begin.line);
            const toml::node* nodeNumber = load.get("node");
            if (!nodeNumber)
                return fail(load.source(), where + " node", "missing");
            if (!nodeNumber->is_integer())
                return fail(nodeNumber->source(), where + " node", "expected a whole number, got " + typeName(*nodeNumber));
            const std::int64_t n = nodeNumber->as_integer()->get();
            if (n < 1 || n > std::numeric_limits<std::int16_t>::max())
                return fail(nodeNumber->source(), where + " node",
                            "expected a node number from 1 to 32767, got " + std::to_string(n));
            point.node = static_cast<int>(n);
            if (!load.contains("fx") && !load.contains("fy"))
                return fail(load.source(), where, "a load on node " + std::to_string(n) + " needs fx or fy");
            if (const toml::node* fx = load.get("fx"); fx && !number(*fx, where + " fx", point.fx))
                return false;
            if (const toml::node* fy = load.get("fy"); fy && !number(*fy, where + " fy", point.fy))
                return false;
            loadCase.loads.push_back(point);
        }
        return true;
    }

    bool readCombinations(const toml::node& node)
    {
        return readTables(node, "combination", combinationKeys,
                          [&](const toml::table& table, const std::string& in) { return readCombination(table, in); });
    }

    bool readCombination(const toml::table& table, const std::string& in)
    {
        Combination combination;
        combination.basis = "design file";
        const toml::node* name = table.get("name");
        if (!name)
            return fail(table.source(), in + " name", "missing");
        if (!text(*name, in + " name", combination.name))
            return false;
        const bool printable = std::none_of(combination.name.begin(), combination.name.end(),
                                            [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (combination.name.empty() || !printable)
            return fail(name->source(), in + " name", "expected a name on one line");
        if (looksGenerated(combination.name))
            return fail(name->source(), in + " name", "'" + combination.name + "' is a generated combination's name");
        // solve --combination takes a name or the notation: neither may read as the other.
        const std::vector<std::string> caseNames = design_.caseNames();
        if (design_.caseNamed(combination.name) || parseCombination(combination.name, caseNames).value)
            return fail(name->source(), in + " name",
                        "'" + combination.name + "' reads as a case or a combination of the cases; give a name of its own");
        for (const Combination& other : design_.ownCombinations)
            if (other.name == combination.name)
                return fail(name->source(), in + " name", "a combination '" + combination.name + "' is given already");

        const toml::node* kind = table.get("kind");
        if (!kind)
            return fail(table.source(), in + " kind", "missing for combination '" + combination.name + "': uls or sls");
        std::string kindText;
        constexpr std::array<std::string_view, 2> kinds{"uls", "sls"};
        if (!oneOf(*kind, in + " kind", kinds, kindText))
            return false;
        combination.limitState = kindText == "uls" ? LimitState::Ultimate : LimitState::Serviceability;

        const toml::node* factors = table.get("factors");
        if (!factors)
            return fail(table.source(), in + " factors", "missing for combination '" + combination.name + "'");
        if (!factors->is_table() || factors->as_table()->empty())
            return fail(factors->source(), in + " factors", "expected { case = factor, ... }, such as { G = 1.35, Q = 1.5 }");
        for (const auto& [key, value] : inFileOrder(*factors->as_table())) {
            const std::string where = in + " factors." + std::string(key->str());
            if (!design_.caseNamed(std::string(key->str())))
                return fail(key->source(), where, "no case named '" + std::string(key->str()) + "'");
            CombinationTerm term{0.0, std::string(key->str())};
            if (!number(*value, where, term.factor))
                return false;
            if (std::fabs(term.factor) > 1000 || (term.factor != 0 && std::fabs(term.factor) < 0.001))
                return fail(value->source(), where, "expected a factor from 0.001 to 1000 in size, or 0");
            combination.terms.push_back(term);
        }
        // In the cases' order, as the generated ones.
        const auto rank = [&](const CombinationTerm& t) { return design_.caseNamed(t.caseName) - design_.cases.data(); };
        std::sort(combination.terms.begin(), combination.terms.end(),
                  [&](const CombinationTerm& a, const CombinationTerm& b) { return rank(a) < rank(b); });
        design_.ownCombinations.push_back(std::move(combination));
        return true;
    }

    DesignFile design_;
    Mistake mistake_;
};

}  // namespace

Result<DesignFile> parseDesignFile(std::string_view text, const std::string& source)
{
    toml::parse_result parsed = toml::parse(text, source);
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        std::string line = source + ":" + std::to_string(std::max<std::uint32_t>(error.source().begin.line, 1))
                           + ": not TOML: " + std::string(error.description());
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        return {std::nullopt, line};
    }
    return Reader(source).read(parsed.table());
}

Result<DesignFile> readDesignFile(const std::filesystem::path& path)
{
    const std::u8string name = path.u8string();  // any name, on Windows too
    const std::string source(name.begin(), name.end());
    std::error_code error;
    // What is not a file (a FIFO would wait for a writer) is refused by its kind.
    const std::filesystem::file_type type = std::filesystem::status(path, error).type();
    const char* kind = type == std::filesystem::file_type::directory ? "it is a folder"
                       : type == std::filesystem::file_type::fifo    ? "it is a named pipe (FIFO), not a file"
                       : type == std::filesystem::file_type::socket  ? "it is a socket, not a file"
                       : type == std::filesystem::file_type::character ? "it is a character device, not a file"
                       : type == std::filesystem::file_type::block   ? "it is a block device, not a file"
                                                                     : nullptr;
    if (!error && kind)
        return {std::nullopt, source + ": cannot be read: " + kind};
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return {std::nullopt, source + ": cannot be read: " + error.message()};
    if (size > largestDesignFile)
        return {std::nullopt, source + ": " + std::to_string(size) + " bytes, more than a design file holds (64 MiB)"};
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad())
        return {std::nullopt, source + ": cannot be read" + (errno ? ": " + std::generic_category().message(errno) : "")};
    return parseDesignFile(text, source);
}
