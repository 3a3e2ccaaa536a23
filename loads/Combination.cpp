#include "loads/Combination.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "kvrfile/NumberText.h"

std::string_view limitStateName(LimitState state) { return state == LimitState::Ultimate ? "ULS" : "SLS"; }

std::string factorText(double factor)
{
    std::string text = formatSignificant(factor, 9);
    if (text.find_first_of(".en") == std::string::npos)  // n: inf, nan
        text += ".0";
    return text;
}

std::string notationOf(std::span<const CombinationTerm> terms)
{
    std::string text;
    for (const CombinationTerm& term : terms) {
        const bool negative = std::signbit(term.factor);
        if (!text.empty())
            text.append(negative ? " - " : " + ");
        else if (negative)
            text.push_back('-');
        text.append(factorText(std::fabs(term.factor))).append(1, ' ').append(term.caseName);
    }
    return text.empty() ? "0" : text;
}

namespace {

// ASCII only, the same in every locale.
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isNameChar(char c) { return isLetter(c) || isDigit(c); }

}  // namespace

bool isCaseName(std::string_view text)
{
    return !text.empty() && isLetter(text.front()) && std::all_of(text.begin(), text.end(), isNameChar);
}

namespace {

// Reads the notation left to right; the first fault ends it.
class NotationReader {
public:
    NotationReader(std::string_view text, std::span<const std::string> caseNames) : text_(text), names_(caseNames) {}

    Result<std::vector<CombinationTerm>> read()
    {
        skipBlanks();
        if (at_ == text_.size())
            return fail("it is empty; write it as 1.35 G + 1.5 Q");
        double sign = 1.0;
        if (peek() == '-' || peek() == '+') {
            sign = peek() == '-' ? -1.0 : 1.0;
            ++at_;
        }
        std::vector<CombinationTerm> terms;
        for (;;) {
            const std::optional<CombinationTerm> term = readTerm(sign);
            if (!term)
                return fail(error_);
            const bool twice =
                std::any_of(terms.begin(), terms.end(), [&](const CombinationTerm& t) { return t.caseName == term->caseName; });
            if (twice)
                return fail(term->caseName + " appears twice");
            terms.push_back(*term);
            skipBlanks();
            if (at_ == text_.size())
                return {terms, {}};
            if (peek() != '+' && peek() != '-')
                return fail("expected + or - after " + term->caseName + ", found '" + std::string(word()) + "'");
            sign = peek() == '-' ? -1.0 : 1.0;
            ++at_;
        }
    }

private:
    std::optional<CombinationTerm> readTerm(double sign)
    {
        skipBlanks();
        if (at_ == text_.size())
            return failed("a term is missing at its end");
        CombinationTerm term;
        std::string factor;
        if (isDigit(peek())) {
            const std::size_t start = at_;
            while (at_ < text_.size() && (isDigit(peek()) || peek() == '.'))
                ++at_;
            const std::string_view digits = text_.substr(start, at_ - start);
            const auto end = std::from_chars(digits.data(), digits.data() + digits.size(), term.factor);
            const bool wellFormed = digits.back() != '.' && std::count(digits.begin(), digits.end(), '.') <= 1;
            if (end.ec != std::errc() || end.ptr != digits.data() + digits.size() || !wellFormed || !std::isfinite(term.factor))
                return failed(std::string(1, '\'').append(digits).append("' is not a factor"));
            factor = std::string(digits);
            skipBlanks();
        }
        const std::size_t start = at_;
        while (at_ < text_.size() && isNameChar(peek()))
            ++at_;
        term.caseName = std::string(text_.substr(start, at_ - start));
        if (term.caseName.empty()) {
            const std::string where = factor.empty() ? "" : " after " + factor;
            return failed("a case name is missing" + where + (at_ < text_.size() ? ", found '" + std::string(word()) + "'" : ""));
        }
        if (!isCaseName(term.caseName))
            return failed("'" + term.caseName + "' is not a case name");
        if (std::find(names_.begin(), names_.end(), term.caseName) == names_.end())
            return failed("no case named '" + term.caseName + "' (the cases: " + caseList() + ")");
        term.factor *= sign;
        return term;
    }

    char peek() const { return text_[at_]; }
    void skipBlanks()
    {
        while (at_ < text_.size() && (peek() == ' ' || peek() == '\t'))
            ++at_;
    }
    // What follows, up to the next blank, for a message.
    std::string_view word() const
    {
        const std::size_t end = std::min(text_.find_first_of(" \t", at_ + 1), text_.size());
        return text_.substr(at_, end - at_);
    }
    std::string caseList() const
    {
        std::string list;
        for (const std::string& name : names_)
            list += (list.empty() ? "" : ", ") + name;
        return list.empty() ? "none" : list;
    }
    std::optional<CombinationTerm> failed(std::string why)
    {
        error_ = std::move(why);
        return std::nullopt;
    }
    Result<std::vector<CombinationTerm>> fail(const std::string& why) const
    {
        return {std::nullopt, "combination '" + std::string(text_) + "': " + why};
    }

    std::string_view text_;
    std::span<const std::string> names_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

Result<std::vector<CombinationTerm>> parseCombination(std::string_view text, std::span<const std::string> caseNames)
{
    return NotationReader(text, caseNames).read();
}
